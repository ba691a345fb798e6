#include "editor/editor_application.h"
#include "editor/qt_prompter.h"
#include "editor/qt_settings_store.h"
#include "gui/qt_text.h"
#include "platform/encoding.h"
#include "platform/errors.h"
#include "support/temp_folder.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputDialog>
#include <QPushButton>
#include <cerrno>
#include <gtest/gtest.h>

namespace pagora {
namespace {

TEST(QtText, ConvertsBetweenComicBytesAndQtStrings) {
    const std::string cp932 = toCp932("表示中のページ ABC");
    EXPECT_EQ(qtText(cp932), QStringLiteral("表示中のページ ABC"));
    EXPECT_EQ(cp932Text(QStringLiteral("表示中のページ ABC")), cp932);
    // A byte that is not CP932 shows as a replacement character, the rest stays readable.
    EXPECT_EQ(qtText(std::string("A\x80Z")), QStringLiteral("A\uFFFDZ"));
}

TEST(QtText, RefusesTypedTextTheComicCannotHoldNamingTheCharacter) {
    try {
        cp932Text(QStringLiteral("名前") + QString::fromUtf8("\xF0\x9F\x98\x80"));
        FAIL() << "an emoji was accepted";
    } catch (const EncodingError& error) {
        const QString text = errorText(error);
        EXPECT_TRUE(text.contains(QStringLiteral("U+1F600"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QString::fromUtf8("\xF0\x9F\x98\x80"))) << text.toStdString();
    }
}

TEST(QtText, ShowsTheConversionErrorsTokenAsTheComicWroteIt) {
    const ConversionError error = notAnInteger(toCp932("三"));
    EXPECT_TRUE(errorText(error).contains(QStringLiteral("'三'")))
        << errorText(error).toStdString();
}

TEST(QtText, ShowsAFileErrorInJapaneseNamingTheFileAndTheReason) {
    EXPECT_EQ(errorText(IoError("/x/story.csf", FileAction::Open, ENOENT)),
              QStringLiteral("ファイル「/x/story.csf」を開けません。\n"
                             "ファイルまたはフォルダが見つかりません。"));
    EXPECT_EQ(errorText(IoError("/tmp/ä.csf", FileAction::Save, EACCES)),
              QStringLiteral("ファイル「/tmp/ä.csf」を保存できません。\n"
                             "アクセスが許可されていません。"));
}

struct MessageBoxCase {
    MessageKind kind;
    Buttons buttons;
    QMessageBox::Icon icon;
    QString caption;
    QMessageBox::StandardButtons standardButtons;
    QMessageBox::StandardButton defaultButton;
    QMessageBox::StandardButton escapeButton;
};

class QtPrompterBox : public ::testing::TestWithParam<MessageBoxCase> {};

TEST_P(QtPrompterBox, ShowsKindButtonsAndSafeEscape) {
    const MessageBoxCase& c = GetParam();
    const auto box = QtPrompter::makeMessageBox(c.kind, QStringLiteral("本文"), c.buttons, nullptr);
    EXPECT_EQ(box->icon(), c.icon);
    EXPECT_EQ(box->windowTitle(), c.caption);
    EXPECT_EQ(box->text(), QStringLiteral("本文"));
    EXPECT_EQ(box->standardButtons(), c.standardButtons);
    ASSERT_NE(box->defaultButton(), nullptr);
    EXPECT_EQ(box->standardButton(box->defaultButton()), c.defaultButton);
    ASSERT_NE(box->escapeButton(), nullptr);
    EXPECT_EQ(box->standardButton(box->escapeButton()), c.escapeButton);
    // Closing the box without a button gives the answer that loses nothing.
    EXPECT_EQ(QtPrompter::answerFor(nullptr, *box, c.buttons), safeDefault(c.buttons));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, QtPrompterBox,
    ::testing::Values(
        MessageBoxCase{MessageKind::Error, Buttons::Ok, QMessageBox::Critical,
                       QStringLiteral("エラー"), QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok},
        MessageBoxCase{MessageKind::Warning, Buttons::YesNoCancel, QMessageBox::Warning,
                       QStringLiteral("警告"),
                       QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes,
                       QMessageBox::Cancel},
        MessageBoxCase{MessageKind::Information, Buttons::YesNo, QMessageBox::Information,
                       QStringLiteral("情報"), QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes,
                       QMessageBox::No},
        MessageBoxCase{MessageKind::Confirmation, Buttons::OkCancel, QMessageBox::Question,
                       QStringLiteral("確認"), QMessageBox::Ok | QMessageBox::Cancel,
                       QMessageBox::Ok, QMessageBox::Cancel},
        MessageBoxCase{MessageKind::Error, Buttons::AbortIgnore, QMessageBox::Critical,
                       QStringLiteral("エラー"), QMessageBox::Abort | QMessageBox::Ignore,
                       QMessageBox::Abort, QMessageBox::Ignore}));

TEST(QtPrompter, AnswersWithTheButtonThatWasPressed) {
    const auto box = QtPrompter::makeMessageBox(MessageKind::Error, QStringLiteral("x"),
                                                Buttons::AbortIgnore, nullptr);
    EXPECT_EQ(QtPrompter::answerFor(box->button(QMessageBox::Abort), *box, Buttons::AbortIgnore),
              Answer::Abort);
    EXPECT_EQ(QtPrompter::answerFor(box->button(QMessageBox::Ignore), *box, Buttons::AbortIgnore),
              Answer::Ignore);
    const auto question = QtPrompter::makeMessageBox(MessageKind::Warning, QStringLiteral("x"),
                                                     Buttons::YesNoCancel, nullptr);
    EXPECT_EQ(
        QtPrompter::answerFor(question->button(QMessageBox::Yes), *question, Buttons::YesNoCancel),
        Answer::Yes);
    EXPECT_EQ(
        QtPrompter::answerFor(question->button(QMessageBox::No), *question, Buttons::YesNoCancel),
        Answer::No);
}

TEST(QtPrompter, StandardButtonsReadInJapanese) {
    const auto box = QtPrompter::makeMessageBox(MessageKind::Warning, QStringLiteral("x"),
                                                Buttons::YesNoCancel, nullptr);
    EXPECT_EQ(box->button(QMessageBox::Yes)->text().remove(QLatin1Char('&')),
              QStringLiteral("はい(Y)"));
    EXPECT_EQ(box->button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
}

TEST(QtPrompter, InputBoxShowsCaptionPromptAndInitialText) {
    const auto dialog = QtPrompter::makeInputDialog(QStringLiteral("ブック名の入力"),
                                                    QStringLiteral("名前を入力してください"),
                                                    QStringLiteral("ブック1"), nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("ブック名の入力"));
    EXPECT_EQ(dialog->labelText(), QStringLiteral("名前を入力してください"));
    EXPECT_EQ(dialog->textValue(), QStringLiteral("ブック1"));
}

TEST(QtPrompter, EachKindOfLineBreakShowsAsOneBreak) {
    EXPECT_EQ(QtPrompter::shownText(QStringLiteral("a\r\nb\n\rc\nd\re")),
              QStringLiteral("a\nb\nc\nd\ne"));
    EXPECT_EQ(QtPrompter::shownText(QStringLiteral("a\n\r\n\rb")), QStringLiteral("a\n\nb"));
    EXPECT_EQ(QtPrompter::shownText(QStringLiteral("a\n\nb\r\rc")), QStringLiteral("a\n\nb\n\nc"));
    EXPECT_EQ(QtPrompter::shownText(QStringLiteral("\r")), QStringLiteral("\n"));

    const auto box = QtPrompter::makeMessageBox(
        MessageKind::Error, QStringLiteral("名前に\n\r使えない文字"), Buttons::Ok, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("名前に\n使えない文字"));
    const auto dialog = QtPrompter::makeInputDialog(
        QStringLiteral("入力"), QStringLiteral("一行目\n\r二行目"), QString(), nullptr);
    EXPECT_EQ(dialog->labelText(), QStringLiteral("一行目\n二行目"));
}

TEST(QtPrompter, TypedTextIsTakenAsComicBytesOrRefused) {
    std::vector<QString> refusals;
    const auto refuse = [&](const QString& why) {
        refusals.push_back(why);
    };
    EXPECT_EQ(QtPrompter::acceptedInput(QStringLiteral("ページ2"), refuse), toCp932("ページ2"));
    EXPECT_TRUE(refusals.empty());
    EXPECT_EQ(QtPrompter::acceptedInput(QString::fromUtf8("a\xF0\x9F\x8D\xA3"), refuse),
              std::nullopt);
    ASSERT_EQ(refusals.size(), 1u);
    EXPECT_TRUE(refusals[0].contains(QStringLiteral("U+1F363"))) << refusals[0].toStdString();
}

TEST(QtPrompter, SaveDialogKeepsTitleFiltersSuffixAndAsksBeforeOverwriting) {
    test::TempFolder folder;
    FileChooser chooser;
    chooser.title = "コミックファイルを保存";
    chooser.filter = "コミックファイル (*.csf);;すべてのファイル (*.*)";
    chooser.defaultSuffix = "csf";
    chooser.startIn = folder.path() / "story.csf";
    chooser.confirmOverwrite = true;
    const auto dialog = QtPrompter::makeFileDialog(chooser, QFileDialog::AcceptSave, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("コミックファイルを保存"));
    EXPECT_EQ(dialog->nameFilters(), QStringList({QStringLiteral("コミックファイル (*.csf)"),
                                                  QStringLiteral("すべてのファイル (*.*)")}));
    EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("csf"));
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(dialog->directory().absolutePath(), pathText(folder.path()));
}

TEST(QtPrompter, OpenDialogStartsInTheFolderAndNeedsAnExistingFile) {
    test::TempFolder folder;
    FileChooser chooser;
    chooser.title = "コミックファイルを開く";
    chooser.filter = "パゴラプレーヤープログラム (PagoraPl.exe)";
    chooser.startIn = folder.path();
    const auto dialog = QtPrompter::makeFileDialog(chooser, QFileDialog::AcceptOpen, nullptr);
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(dialog->nameFilters(),
              QStringList(QStringLiteral("パゴラプレーヤープログラム (PagoraPl.exe)")));
    EXPECT_TRUE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(dialog->directory().absolutePath(), pathText(folder.path()));

    const auto folderDialog =
        QtPrompter::makeFolderDialog(QStringLiteral("ディレクトリの指定"), folder.path(), nullptr);
    EXPECT_EQ(folderDialog->windowTitle(), QStringLiteral("ディレクトリの指定"));
    EXPECT_EQ(folderDialog->fileMode(), QFileDialog::Directory);
    EXPECT_TRUE(folderDialog->testOption(QFileDialog::ShowDirsOnly));
}

TEST(QtPrompter, ColoursAreBlueGreenRedValues) {
    EXPECT_EQ(QtPrompter::qtColor(0x00112233u), QColor(0x33, 0x22, 0x11));
    EXPECT_EQ(QtPrompter::bgrOf(QColor(0x33, 0x22, 0x11)), 0x00112233u);
    const auto dialog = QtPrompter::makeColorDialog(0x000000FFu, nullptr);
    EXPECT_EQ(dialog->currentColor(), QColor(Qt::red));
}

TEST(QtSettingsStore, KeepsValuesAcrossInstancesAndErasesThemAll) {
    test::TempFolder folder;
    const QString file = pathText(folder.path() / "Pagora.conf");
    {
        QtSettingsStore store(file);
        EXPECT_FALSE(store.contains("UserName"));
        store.writeText("UserName", "山田 花子");
        store.writeInt("MainFormPosWidth", 640);
        store.writeFlag("ShowCmdIcon", false);
    }
    QtSettingsStore store(file);
    EXPECT_TRUE(store.contains("UserName"));
    EXPECT_EQ(store.readText("UserName", ""), "山田 花子");
    EXPECT_EQ(store.readInt("MainFormPosWidth", 0), 640);
    EXPECT_FALSE(store.readFlag("ShowCmdIcon", true));
    EXPECT_EQ(store.value("Missing"), std::nullopt);
    store.eraseAll();
    store.writeTextIfPresent("UserName", "x");
    EXPECT_FALSE(store.contains("UserName"));
    EXPECT_FALSE(QtSettingsStore(file).contains("MainFormPosWidth"));
}

// An object whose event handler fails, as a command of the editor can.
class FailingObject : public QObject {
public:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User)
            throw notAnInteger(toCp932("十"));
        return QObject::event(event);
    }
};

TEST(PagoraApplication, ShowsAnErrorThatEscapesAnEventHandlerAndGoesOn) {
    auto* application = qobject_cast<PagoraApplication*>(QCoreApplication::instance());
    ASSERT_NE(application, nullptr);
    const auto previous = application->errorHandler();
    std::vector<QString> shown;
    application->setErrorHandler([&](const QString& text) { shown.push_back(text); });
    FailingObject object;
    QEvent event(QEvent::User);
    EXPECT_NO_THROW(QCoreApplication::sendEvent(&object, &event));
    QEvent again(QEvent::User);
    EXPECT_NO_THROW(QCoreApplication::sendEvent(&object, &again));
    application->setErrorHandler(previous);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_TRUE(shown[0].contains(QStringLiteral("'十'"))) << shown[0].toStdString();
}

TEST(PagoraApplication, NamesItsSettingsAndLeavesTitleBarsToTheWindows) {
    setApplicationNames();
    EXPECT_EQ(QCoreApplication::organizationName(), QStringLiteral("Hanvel"));
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("Pagora"));
    // A display name of its own would be added to every window's title.
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
}

TEST(EditorArguments, TakeTheFirstFileAndTheScreenshotPath) {
    const std::optional<EditorOptions> options = parseEditorArguments(
        {QStringLiteral("pagora"), QStringLiteral("a.csf"), QStringLiteral("--screenshot"),
         QStringLiteral("out.png"), QStringLiteral("b.csf")});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->file, std::filesystem::path("a.csf"));
    EXPECT_EQ(options->screenshot, QStringLiteral("out.png"));

    const std::optional<EditorOptions> none = parseEditorArguments({QStringLiteral("pagora")});
    ASSERT_TRUE(none);
    EXPECT_FALSE(none->file);
    EXPECT_FALSE(none->screenshot);
    EXPECT_FALSE(parseEditorArguments({QStringLiteral("pagora"), QStringLiteral("--bogus")}));
}

TEST(EditorArguments, AScriptRunTakesItsSettingsInOrder) {
    const std::optional<EditorOptions> options = parseEditorArguments(
        {QStringLiteral("pagora"), QStringLiteral("--set"), QStringLiteral("PlugInUse=1"),
         QStringLiteral("--script"), QStringLiteral("run.pgs"), QStringLiteral("--set"),
         QStringLiteral("PlugInDir=/x/=y"), QStringLiteral("c.csf")});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->script, std::filesystem::path("run.pgs"));
    EXPECT_EQ(options->file, std::filesystem::path("c.csf"));
    using Setting = std::pair<std::string, std::string>;
    EXPECT_EQ(options->settings,
              (std::vector<Setting>{{"PlugInUse", "1"}, {"PlugInDir", "/x/=y"}}));

    const auto refused = [](QStringList arguments) {
        arguments.prepend(QStringLiteral("pagora"));
        return !parseEditorArguments(arguments);
    };
    EXPECT_TRUE(refused({QStringLiteral("--script"), QStringLiteral("a.pgs"),
                         QStringLiteral("--set"), QStringLiteral("NoValue")}));
    EXPECT_TRUE(refused({QStringLiteral("--script"), QStringLiteral("a.pgs"),
                         QStringLiteral("--set"), QStringLiteral("=1")}));
    EXPECT_TRUE(refused({QStringLiteral("--set"), QStringLiteral("PlugInUse=1")}));
    EXPECT_TRUE(refused({QStringLiteral("--script"), QStringLiteral("a.pgs"),
                         QStringLiteral("--screenshot"), QStringLiteral("o.png")}));
}

} // namespace
} // namespace pagora
