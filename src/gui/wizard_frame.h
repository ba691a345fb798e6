#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QHBoxLayout;
class QLabel;
class QLayout;
class QPushButton;
class QStackedWidget;
class QVBoxLayout;

namespace pagora {

struct DialogServices;

// What a wizard's frame shows: its caption and name, and the names of its
// Back and Next buttons.
struct WizardSpec {
    const char* objectName; // the wizard's class name
    QString caption;
    const char* backName;
    const char* nextName = "btnNext";
};

// The frame of every wizard: caption and objectName, a picture strip at the
// left, the notebook "NoteBook" of pages beside it, and below them a button
// row holding Back and Next. Captions and states of the buttons are the
// wizard's own, set by its UpdateButtons after every page change; a wizard
// adds its other buttons to the row.
class WizardFrame : public QDialog {
    Q_OBJECT

public:
    // Runs the wizard modally through the services' runner; true when it
    // closed accepted.
    bool runModal();
    // The page shown, counted from 0.
    int PageIndex() const;

protected:
    WizardFrame(DialogServices& services, const WizardSpec& spec, QWidget* parent);

    // Appends a page holding content.
    void addPage(QLayout* content);
    // Shows the page and brings the buttons up to date.
    void setPage(int index);
    virtual void UpdateButtons() = 0;

    QPushButton& backButton() const { return *back_; }
    QPushButton& nextButton() const { return *next_; }
    // The button row: a stretch, Back and Next.
    QHBoxLayout& buttonRow() const { return *buttonRow_; }

    // A page's layout that begins with a bold heading (none when title is
    // empty) and lines of explanation; the page's controls follow.
    QVBoxLayout* textPage(const QString& title, const QStringList& lines);

    DialogServices& services_;

private:
    QStackedWidget* NoteBook;
    QPushButton* back_;
    QPushButton* next_;
    QHBoxLayout* buttonRow_;
};

} // namespace pagora
