// The help window: pages at their topic's anchor, history, contents, and one
// window for every request.
#include "editor/help_window.h"
#include "support/temp_folder.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <gtest/gtest.h>

namespace pagora {
namespace {

class HelpWindowTest : public ::testing::Test {
protected:
    HelpWindowTest() {
        std::string filler;
        for (int i = 0; i < 80; ++i)
            filler += "<p>本文 " + std::to_string(i) + "</p>";
        folder.write("index.html", "<html><body><h1>目次</h1><a href=\"page.html#topic7\">頁</a>" +
                                       filler + "</body></html>");
        folder.write("page.html", "<html><body>" + filler +
                                      "<h2 id=\"topic7\">項目</h2><a href=\"index.html\">目次</a>" +
                                      filler + "</body></html>");
    }
    QUrl url(const char* page, const char* fragment = nullptr) const {
        QUrl result = QUrl::fromLocalFile(QString::fromStdString((folder.path() / page).string()));
        if (fragment != nullptr)
            result.setFragment(QString::fromLatin1(fragment));
        return result;
    }
    QPushButton& button(const char* name) {
        return *help.findChild<QPushButton*>(QString::fromLatin1(name));
    }

    test::TempFolder folder;
    HelpWindow help;
};

TEST_F(HelpWindowTest, ShowsATopicsPageAtItsAnchor) {
    EXPECT_EQ(help.objectName(), QStringLiteral("HelpWindow"));
    EXPECT_EQ(help.windowTitle(), QStringLiteral("ヘルプ"));
    EXPECT_FALSE(help.isVisible());
    ASSERT_TRUE(help.open(url("page.html", "topic7")));
    QCoreApplication::processEvents();
    EXPECT_TRUE(help.isVisible());
    EXPECT_EQ(help.browser().source(), url("page.html", "topic7"));
    EXPECT_TRUE(help.browser().toPlainText().contains(QStringLiteral("項目")));
    EXPECT_GT(help.browser().verticalScrollBar()->value(), 0) << "scrolled to the topic";
}

TEST_F(HelpWindowTest, GoesBackForwardAndToTheContents) {
    ASSERT_TRUE(help.open(url("index.html")));
    EXPECT_FALSE(button("btnBack").isEnabled());
    ASSERT_TRUE(help.open(url("page.html", "topic7")));
    EXPECT_TRUE(button("btnBack").isEnabled());
    EXPECT_FALSE(button("btnForward").isEnabled());

    button("btnBack").click();
    EXPECT_EQ(help.browser().source(), url("index.html"));
    EXPECT_TRUE(button("btnForward").isEnabled());
    button("btnForward").click();
    EXPECT_EQ(help.browser().source(), url("page.html", "topic7"));

    button("btnContents").click();
    EXPECT_EQ(help.browser().source(), url("index.html"));
    EXPECT_TRUE(help.browser().toPlainText().contains(QStringLiteral("目次")));
}

TEST_F(HelpWindowTest, OneWindowServesEveryRequestAndAMissingPageIsRefused) {
    ASSERT_TRUE(help.open(url("index.html")));
    help.hide();
    ASSERT_TRUE(help.open(url("page.html", "topic7")));
    EXPECT_TRUE(help.isVisible()) << "shown again for the next request";
    EXPECT_EQ(help.browser().source(), url("page.html", "topic7"));

    EXPECT_FALSE(help.open(url("missing.html")));
    EXPECT_FALSE(help.open(QUrl(QStringLiteral("https://example.com/help.html"))));
    EXPECT_EQ(help.browser().source(), url("page.html", "topic7")) << "the page shown stays";
}

} // namespace
} // namespace pagora
