#include "gui/help_topics.h"
#include "gui/help_viewer.h"

#include <QFile>
#include <QUrl>
#include <filesystem>
#include <gtest/gtest.h>

namespace pagora::test {
namespace {

// Every topic a window asks for that has a page of its own lands on an
// anchor that page holds; a topic without a page opens the contents.
TEST(HelpTopics, EveryTopicWithAPageHasItsAnchorThere) {
    const std::filesystem::path folder = std::filesystem::path(PAGORA_SOURCE_DIR) / "docs/help";
    const QUrl contents = helpContentsUrl(folder);
    int withPage = 0;
    for (const int topic : {kEnvironmentTopic,    kSystemSettingsTopic,    kHelpOnHelpTopic,
                            kCommandPaletteTopic, kWindowSetHelpTopic,     kMessageHelpTopic,
                            kGraphicHelpTopic,    kMusicHelpTopic,         kSoundHelpTopic,
                            kFlagCtrlHelpTopic,   kValueCtrlHelpTopic,     kSelectDlgHelpTopic,
                            kPageJumpHelpTopic,   kWindowShowHelpTopic,    kStrInputHelpTopic,
                            kOptionSetHelpTopic,  kSystemCmdHelpTopic,     kStringCtrlHelpTopic,
                            kClickAbleHelpTopic,  kClickAbleClearHelpTopic}) {
        const QUrl url = helpTopicUrl(folder, topic);
        if (url == contents)
            continue;
        ++withPage;
        QFile page(url.toLocalFile());
        ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << url.toString().toStdString();
        const QString anchor = QStringLiteral("id=\"%1\"").arg(url.fragment());
        EXPECT_TRUE(QString::fromUtf8(page.readAll()).contains(anchor))
            << url.toString().toStdString();
    }
    EXPECT_GE(withPage, 11);
}

} // namespace
} // namespace pagora::test
