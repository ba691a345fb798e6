#pragma once

#include "document/cmd_ctrl.h"
#include "document/comic_file.h"
#include "document/flag_ctrl.h"
#include "gui/dialog_context.h"
#include "gui/help_viewer.h"
#include "gui/layout_editor.h"
#include "gui/number_pad.h"
#include "platform/clock.h"
#include "platform/scripted_prompter.h"
#include "platform/settings_store.h"
#include "support/comic_text.h"
#include "support/recording_media_player.h"
#include "support/temp_folder.h"

#include <QString>
#include <QUrl>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class QDialog;

namespace pagora::test {

// The control of a dialog or window by its name; throws when there is none.
template <typename T> T& child(QWidget& parent, const char* name) {
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr)
        throw std::runtime_error(std::string("no control ") + name);
    return *found;
}

class RecordingHelpViewer : public HelpViewer {
public:
    std::vector<QUrl> urls;
    bool open(const QUrl& url) override {
        urls.push_back(url);
        return true;
    }
};

// A layout editor that records each Execute with the fields it was given
// and plays the user through `user`, which may change the fields and says
// whether the editor showed.
class RecordingLayoutEditor : public TWindowLayoutEditor {
public:
    class Fields final : public TWindowLayoutEditor {
    public:
        explicit Fields(const TWindowLayoutEditor& given)
            : TWindowLayoutEditor(given) {}
        bool Execute() override { return false; }
        void ImageConfirmed() override {}
    };

    std::vector<Fields> executed;
    int imagesConfirmed = 0;
    std::function<bool(TWindowLayoutEditor&)> user = [](TWindowLayoutEditor&) {
        return true;
    };

    bool Execute() override {
        executed.emplace_back(*this);
        return user(*this);
    }
    void ImageConfirmed() override { ++imagesConfirmed; }
};

// What every window's test needs, scripted: the prompter answers from its
// queues, settings live in memory, help pages, error boxes and what media
// players are asked are recorded, and dialogs run through `modal` instead of
// a modal loop.
class ServicesTest : public ::testing::Test {
protected:
    // The CP932 form of a UTF-8 text, for comparing with the document.
    static std::string sj(std::string_view utf8);

    TempFolder folder;
    ScriptedPrompter prompter;
    MemorySettingsStore settings;
    SystemClock clock;
    SystemRandom random;
    RecordingHelpViewer help;
    RecordingMediaPlayers mediaPlayers;
    std::vector<QString> errorBoxes;
    std::function<int(QDialog&)> modal = [](QDialog&) {
        return 0;
    };
};

// The program-wide objects a dialog is given, without a main window: an
// untitled new comic until openComic.
class DialogTest : public ServicesTest {
protected:
    DialogTest();

    // Opens the comic of those lines, saved as name in the test's folder,
    // with its variable table.
    void openComic(const std::vector<std::string>& utf8Lines,
                   const std::string& name = "story.csf");

    DialogServices services;
    TCmdCtrl syntax{prompter};
    TComicFileCtrl comic{prompter};
    TFlagCtrl flags{comic, prompter, clock, random};
    FileSession file;
    UserSettings user;
    RecordingLayoutEditor layoutEditor;
    TfrmValueEdit numberPad;
    // The parents the variable table's dialog was asked to run over.
    std::vector<QWidget*> variableTableRuns;
    DialogContext context{services,
                          syntax,
                          flags,
                          comic,
                          file,
                          user,
                          [this](QWidget* parent) { variableTableRuns.push_back(parent); },
                          layoutEditor,
                          numberPad,
                          mediaPlayers.factory()};
};

// The texts of the message boxes shown so far, decoded, each followed by a
// line end: what a test compares with the messages it expects.
std::string utf8Messages(const ScriptedPrompter& prompter);

// A comic that declares the numeric variables score and 回数 and the string
// variables name and 天気, in this order.
std::vector<std::string> comicWithVariables();

} // namespace pagora::test
