#include "gui/help_topics.h"
#include "gui/help_viewer.h"

#include <QFile>
#include <gtest/gtest.h>

namespace pagora::test {
namespace {

// Every topic a window asks for opens a help page of the program's own that
// exists and holds the topic's anchor, or, while the topic has no page yet,
// the contents.
class HelpPages : public testing::TestWithParam<int> {
protected:
    const std::filesystem::path folder = std::filesystem::path(PAGORA_SOURCE_DIR) / "docs/help";
};

TEST_P(HelpPages, ATopicOpensAPageThatHoldsItsAnchor) {
    const QUrl url = helpTopicUrl(folder, GetParam());
    QFile page(url.toLocalFile());
    ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << url.toString().toStdString();
    if (url == helpContentsUrl(folder))
        return;
    const QString anchor = QStringLiteral("id=\"topic%1\"").arg(GetParam());
    EXPECT_TRUE(QString::fromUtf8(page.readAll()).contains(anchor))
        << url.toLocalFile().toStdString() << " has no " << anchor.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Topics, HelpPages,
    testing::Values(kEnvironmentTopic, kSystemSettingsTopic, kHelpOnHelpTopic, kPackageTopic,
                    kFlagSetHelpTopic, kMenuSetHelpTopic, kCommandPaletteTopic, kWindowSetHelpTopic,
                    kMessageHelpTopic, kGraphicHelpTopic, kMusicHelpTopic, kSoundHelpTopic,
                    kFlagCtrlHelpTopic, kValueCtrlHelpTopic, kSelectDlgHelpTopic,
                    kPageJumpHelpTopic, kWindowShowHelpTopic, kStrInputHelpTopic,
                    kOptionSetHelpTopic, kSystemCmdHelpTopic, kStringCtrlHelpTopic,
                    kClickAbleHelpTopic, kClickAbleClearHelpTopic, kFindHelpTopic,
                    kPreviewHelpTopic));

TEST(HelpPages, TheMusicAndSoundTopicsHaveTheirOwnPage) {
    const std::filesystem::path folder = std::filesystem::path(PAGORA_SOURCE_DIR) / "docs/help";
    for (const int topic : {kMusicHelpTopic, kSoundHelpTopic})
        EXPECT_NE(helpTopicUrl(folder, topic), helpContentsUrl(folder)) << topic;
}

} // namespace
} // namespace pagora::test
