#include "gui/help_viewer.h"

#include "gui/dialog_context.h"
#include "gui/help_topics.h"
#include "gui/qt_text.h"
#include "platform/encoding.h"
#include "platform/prompter.h"

namespace pagora {
namespace {

struct TopicPage {
    int topic;
    const char* page;
};

constexpr TopicPage kTopicPages[] = {
    {kEnvironmentTopic, "environment.html"},
    {kOptionSetHelpTopic, "commands.html"},
    {kCommandPaletteTopic, "commands.html"},
    {kHelpOnHelpTopic, "using-help.html"},
    {kPackageTopic, "package.html"},
    {kFindHelpTopic, "find.html"},
    {kPreviewHelpTopic, "preview.html"},
    // The comic's settings dialogs.
    {kSystemSettingsTopic, "system-settings.html"},
    {kFlagSetHelpTopic, "variables.html"},
    {kMenuSetHelpTopic, "player-menu.html"},
    {kWindowSetHelpTopic, "layout-editor.html"},
    // The command dialogs.
    {kMessageHelpTopic, "message.html"},
    {kGraphicHelpTopic, "graphic.html"},
    {kMusicHelpTopic, "media.html"},
    {kSoundHelpTopic, "media.html"},
    {kSelectDlgHelpTopic, "flow-commands.html"},
    {kPageJumpHelpTopic, "flow-commands.html"},
    {kWindowShowHelpTopic, "flow-commands.html"},
    {kClickAbleHelpTopic, "flow-commands.html"},
    {kClickAbleClearHelpTopic, "flow-commands.html"},
    {kFlagCtrlHelpTopic, "variable-commands.html"},
    {kValueCtrlHelpTopic, "variable-commands.html"},
    {kStringCtrlHelpTopic, "variable-commands.html"},
    {kStrInputHelpTopic, "variable-commands.html"},
    {kSystemCmdHelpTopic, "system-command.html"},
};

QUrl pageUrl(const std::filesystem::path& helpFolder, const char* page) {
    return QUrl::fromLocalFile(pathText(helpFolder / page));
}

} // namespace

QUrl helpContentsUrl(const std::filesystem::path& helpFolder) {
    return pageUrl(helpFolder, "index.html");
}

QUrl helpKeywordsUrl(const std::filesystem::path& helpFolder) {
    QUrl url = helpContentsUrl(helpFolder);
    url.setFragment(QStringLiteral("keywords"));
    return url;
}

QUrl helpTopicUrl(const std::filesystem::path& helpFolder, int topic) {
    for (const TopicPage& entry : kTopicPages) {
        if (entry.topic != topic)
            continue;
        QUrl url = pageUrl(helpFolder, entry.page);
        url.setFragment(QStringLiteral("topic%1").arg(topic));
        return url;
    }
    return helpContentsUrl(helpFolder);
}

std::filesystem::path findHelpFolder(const std::filesystem::path& programFolder) {
    const std::filesystem::path candidates[] = {
        programFolder / "help",
        programFolder.parent_path() / "share" / "pagora" / "help",
    };
    std::error_code ignored;
    for (const std::filesystem::path& folder : candidates)
        if (std::filesystem::is_regular_file(folder / "index.html", ignored))
            return folder;
    return {};
}

void showHelpPage(const DialogServices& services, const QUrl& url) {
    if (services.helpFolder.empty()) {
        services.prompter.warning(PAGORA_CP932("ヘルプファイルが見つかりません"));
        return;
    }
    if (!services.help.open(url))
        services.prompter.warning(PAGORA_CP932("ヘルプを表示できません"));
}

void showHelpTopic(const DialogServices& services, int topic) {
    showHelpPage(services, helpTopicUrl(services.helpFolder, topic));
}

} // namespace pagora
