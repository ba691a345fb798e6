#pragma once

#include "commands/command_chooser.h"
#include "document/cmd_records.h"
#include "document/palette_file.h"
#include "gui/dialog_context.h"

#include <QWidget>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class QListWidget;
class QMenu;

namespace pagora {

// The command palette: a small tool window above the main window (not above
// the other programs, nor above the boxes it asks with) that keeps named,
// ready-made command lines in a palette file. Names and lines are CP932; the
// palette file's path is kept in the settings as UTF-8.
class TfrmCmdPalette : public QWidget {
    Q_OBJECT

public:
    // Writes the missing settings with their defaults, takes the window's
    // place and the palette file from them and loads the palette.
    explicit TfrmCmdPalette(DialogServices& services, QWidget* parent = nullptr);
    // Writes the window's place and the palette file's path back to the
    // settings that still exist; the palette file itself is not written.
    ~TfrmCmdPalette() override;

    void setInsertCommand(InsertCommand insert) { insert_ = std::move(insert); }

    // Appends an entry and shows it in the list.
    void AddPaletteEntry(const std::string& line, const std::string& name);
    // Asks to save a palette that has no file yet, then saves a palette that
    // has one. For the main window's close.
    void PaletteQuerySave();

    // Reads the palette file (when there is one) into the list.
    void LoadPalette();
    // Writes the palette to its file. False (after telling the user) when the
    // file cannot be written.
    bool SavePalette();

    // The list's double-click and the pop-up menu's items.
    void lstCmdPaletteDblClick();
    void popPalRenameClick();
    void popPalDeleteClick();
    void popPalFileOpenClick();
    void popPalFileSaveClick();
    void popPalHelpClick();
    // Enables the items that need a selected entry; runs when the menu opens.
    void updatePopupMenu();

    const std::vector<PaletteEntry>& entries() const { return entries_; }
    const std::filesystem::path& paletteFile() const { return paletteFile_; }
    // True while the palette has no file of its own ("CPalette.pal").
    bool hasNoFile() const;
    QListWidget* list() const { return list_; }
    QMenu* popupMenu() const { return menu_; }

protected:
    // A double click takes the entry under the pointer; away from the
    // entries it selects none and is refused like one with nothing selected.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int selectedEntry() const;
    void refill(int keepRow = -1);
    void showIoError(const std::exception& error);

    DialogServices& services_;
    std::vector<PaletteEntry> entries_;
    std::filesystem::path paletteFile_;
    InsertCommand insert_;
    QListWidget* list_;
    QMenu* menu_;
};

} // namespace pagora
