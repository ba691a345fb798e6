#pragma once

#include <QUrl>
#include <filesystem>

namespace pagora {

// The help pages: index.html, and one page per topic, installed with the program.
QUrl helpContentsUrl(const std::filesystem::path& helpFolder);
// The index at its list of keywords.
QUrl helpKeywordsUrl(const std::filesystem::path& helpFolder);
// The topic's page at the topic's anchor; the index for a topic without a page.
QUrl helpTopicUrl(const std::filesystem::path& helpFolder, int topic);

// Where the help pages are: "help" beside the program (the build tree), else
// "share/pagora/help" beside its folder (an installed program). Empty when
// neither holds the index.
std::filesystem::path findHelpFolder(const std::filesystem::path& programFolder);

struct DialogServices;

// Opens a help page, and tells the user when there are no help pages or the
// page cannot be shown.
void showHelpPage(const DialogServices& services, const QUrl& url);
// Opens the page of a help topic.
void showHelpTopic(const DialogServices& services, int topic);

// Shows help pages: the editor's help window, a recorder in tests.
class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    // False when the page cannot be shown.
    virtual bool open(const QUrl& url) = 0;
};

} // namespace pagora
