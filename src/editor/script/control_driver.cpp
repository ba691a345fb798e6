#include "editor/script/control_driver.h"

#include "editor/script/step_errors.h"
#include "editor/script/window_lookup.h"
#include "gui/qt_text.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextEdit>
#include <QTreeView>

namespace pagora {
namespace {

std::string described(const QWidget& control) {
    return "\"" + utf8Of(control.objectName()) + "\" (" + control.metaObject()->className() + ")";
}

[[noreturn]] void refuse(const QWidget& control, const char* what) {
    throw StepError(described(control) + " " + what);
}

QString flagText(bool flag) {
    return flag ? QStringLiteral("1") : QStringLiteral("0");
}

bool flagOf(const QWidget& control, const QString& value) {
    if (value == QStringLiteral("1"))
        return true;
    if (value == QStringLiteral("0"))
        return false;
    refuse(control, "takes 1 or 0");
}

int numberOf(const QWidget& control, const QString& value) {
    bool ok = false;
    const int number = value.toInt(&ok);
    if (!ok)
        refuse(control, "takes a whole number");
    return number;
}

// "#N" as N; empty when the value is not of that form.
std::optional<int> positionOf(const QString& value) {
    if (!value.startsWith(QLatin1Char('#')))
        return std::nullopt;
    bool ok = false;
    const int position = value.mid(1).toInt(&ok);
    return ok ? std::optional<int>(position) : std::nullopt;
}

// The position of an item among texts, by text or "#N"; -1 only where
// allowEmpty. Throws LookupMiss when there is no such item.
int itemPosition(const QStringList& texts, const QString& value, bool allowEmpty) {
    const std::optional<int> position = positionOf(value);
    const int found = position ? *position : static_cast<int>(texts.indexOf(value));
    if ((found == -1 && allowEmpty && position) || (found >= 0 && found < texts.size()))
        return found;
    throw LookupMiss("no item \"" + utf8Of(value) + "\"");
}

QString displayText(const QModelIndex& index) {
    return index.data(Qt::DisplayRole).toString();
}

QStringList rowTexts(QAbstractItemView& view) {
    QStringList texts;
    for (const QModelIndex& index : viewRows(view))
        texts.push_back(displayText(index));
    return texts;
}

// Each row's cells, column by column, joined with a tab.
QStringList rowCells(QWidget& control) {
    auto* view = qobject_cast<QAbstractItemView*>(&control);
    if (view == nullptr)
        refuse(control, "has no rows");
    QStringList texts;
    for (const QModelIndex& index : viewRows(*view)) {
        QStringList cells;
        for (int column = 0; column < view->model()->columnCount(index.parent()); ++column)
            cells.push_back(displayText(index.siblingAtColumn(column)));
        texts.push_back(cells.join(QLatin1Char('\t')));
    }
    return texts;
}

QStringList comboTexts(const QComboBox& combo) {
    QStringList texts;
    for (int i = 0; i < combo.count(); ++i)
        texts.push_back(combo.itemText(i));
    return texts;
}

QStringList tabTexts(const QTabWidget& tabs) {
    QStringList texts;
    for (int i = 0; i < tabs.count(); ++i)
        texts.push_back(plainCaption(tabs.tabText(i)));
    return texts;
}

// The items of a menu by their captions, a checked one after "*".
QStringList menuTexts(const QMenu& menu) {
    QStringList texts;
    for (const QAction* item : menu.actions())
        if (!item->isSeparator() && item->isVisible())
            texts.push_back((item->isChecked() ? QStringLiteral("*") : QString()) +
                            plainCaption(item->text()));
    return texts;
}

// Replaces the whole text as typing over a full selection does.
void typeText(QLineEdit& edit, const QString& text) {
    if (edit.isReadOnly())
        refuse(edit, "is read-only");
    edit.selectAll();
    if (text.isEmpty())
        edit.del();
    else
        edit.insert(text);
}

void setChecked(QAbstractButton& button, bool checked) {
    if (!button.isCheckable())
        refuse(button, "cannot be checked");
    if (button.isChecked() == checked)
        return;
    // A user cannot uncheck a radio button by clicking it.
    if (checked || !button.autoExclusive())
        button.click();
    else
        button.setChecked(false);
}

void setComboValue(QComboBox& combo, const QString& value) {
    if (combo.isEditable() && !positionOf(value)) {
        typeText(*combo.lineEdit(), value);
        return;
    }
    const int position = itemPosition(comboTexts(combo), value, true);
    combo.setCurrentIndex(position);
    if (position >= 0) {
        emit combo.activated(position);
        emit combo.textActivated(combo.itemText(position));
    }
}

void setViewSelection(QAbstractItemView& view, const QString& value) {
    const QList<QModelIndex> rows = viewRows(view);
    const QStringList texts = rowTexts(view);
    const QStringList wanted = positionOf(value.section(QLatin1Char(','), 0, 0))
                                   ? value.split(QLatin1Char(','))
                                   : QStringList{value};
    QItemSelectionModel& selection = *view.selectionModel();
    bool first = true;
    for (const QString& item : wanted) {
        const QModelIndex index = rows.value(itemPosition(texts, item, false));
        // A user cannot select an item that is disabled.
        if (!index.flags().testFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable))
            throw StepError("item \"" + utf8Of(item) + "\" of " + described(view) +
                            " cannot be selected");
        if (first)
            selection.setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
        else
            selection.select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
        first = false;
    }
    view.scrollTo(selection.currentIndex());
}

// Number spin boxes take a number; any other spin box takes its text as
// typed, which its validation may refuse.
void setSpinValue(QAbstractSpinBox& spin, const QString& value) {
    if (auto* integer = qobject_cast<QSpinBox*>(&spin)) {
        integer->setValue(numberOf(spin, value));
        return;
    }
    if (auto* decimal = qobject_cast<QDoubleSpinBox*>(&spin)) {
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (!ok)
            refuse(spin, "takes no number");
        decimal->setValue(number);
        return;
    }
    auto* edit = spin.findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
    if (edit == nullptr)
        refuse(spin, "takes no text");
    typeText(*edit, value);
    if (spin.text() != value)
        refuse(spin, "does not take that text");
}

int currentRow(QAbstractItemView& view) {
    return static_cast<int>(viewRows(view).indexOf(view.currentIndex()));
}

QString valueText(QWidget& control) {
    if (auto* button = qobject_cast<QAbstractButton*>(&control))
        return button->isCheckable() ? flagText(button->isChecked()) : plainCaption(button->text());
    if (auto* combo = qobject_cast<QComboBox*>(&control))
        return combo->currentText();
    if (auto* edit = qobject_cast<QLineEdit*>(&control))
        return edit->text();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(&control))
        return plain->toPlainText();
    if (auto* rich = qobject_cast<QTextEdit*>(&control))
        return rich->toPlainText();
    if (auto* integer = qobject_cast<QSpinBox*>(&control))
        return QString::number(integer->value());
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(&control))
        return spin->text();
    if (auto* slider = qobject_cast<QAbstractSlider*>(&control))
        return QString::number(slider->value());
    if (auto* progress = qobject_cast<QProgressBar*>(&control))
        return QString::number(progress->value());
    if (auto* label = qobject_cast<QLabel*>(&control))
        return label->text();
    if (auto* tabs = qobject_cast<QTabWidget*>(&control))
        return tabs->currentIndex() < 0 ? QString()
                                        : plainCaption(tabs->tabText(tabs->currentIndex()));
    if (auto* group = qobject_cast<QGroupBox*>(&control))
        return group->title();
    if (auto* view = qobject_cast<QAbstractItemView*>(&control))
        return displayText(view->currentIndex());
    if (control.isWindow())
        return control.windowTitle();
    refuse(control, "has no value");
}

QStringList itemTexts(QWidget& control) {
    if (auto* combo = qobject_cast<QComboBox*>(&control))
        return comboTexts(*combo);
    if (auto* tabs = qobject_cast<QTabWidget*>(&control))
        return tabTexts(*tabs);
    if (auto* view = qobject_cast<QAbstractItemView*>(&control))
        return rowTexts(*view);
    if (auto* menu = qobject_cast<QMenu*>(&control))
        return menuTexts(*menu);
    refuse(control, "has no items");
}

int indexOf(QWidget& control) {
    if (auto* combo = qobject_cast<QComboBox*>(&control))
        return combo->currentIndex();
    if (auto* tabs = qobject_cast<QTabWidget*>(&control))
        return tabs->currentIndex();
    if (auto* stack = qobject_cast<QStackedWidget*>(&control))
        return stack->currentIndex();
    if (auto* view = qobject_cast<QAbstractItemView*>(&control))
        return currentRow(*view);
    refuse(control, "has no index");
}

bool isChecked(QWidget& control) {
    if (auto* button = qobject_cast<QAbstractButton*>(&control))
        return button->isChecked();
    if (auto* group = qobject_cast<QGroupBox*>(&control))
        return group->isChecked();
    refuse(control, "cannot be checked");
}

QString titleOf(QWidget& control) {
    if (auto* group = qobject_cast<QGroupBox*>(&control))
        return group->title();
    if (auto* panel = qobject_cast<QDockWidget*>(&control))
        return panel->windowTitle();
    return control.window()->windowTitle();
}

} // namespace

QList<QModelIndex> viewRows(QAbstractItemView& view) {
    QList<QModelIndex> rows;
    QAbstractItemModel* model = view.model();
    if (model == nullptr)
        return rows;
    const QModelIndex root = view.rootIndex();
    if (auto* tree = qobject_cast<QTreeView*>(&view)) {
        for (QModelIndex index = model->index(0, 0, root); index.isValid();
             index = tree->indexBelow(index))
            rows.push_back(index);
        return rows;
    }
    auto* list = qobject_cast<QListView*>(&view);
    const int column = list != nullptr ? list->modelColumn() : 0;
    for (int row = 0; row < model->rowCount(root); ++row)
        if (list == nullptr || !list->isRowHidden(row))
            rows.push_back(model->index(row, column, root));
    return rows;
}

void setControlValue(QWidget& control, const QString& value) {
    if (!control.isEnabled())
        refuse(control, "is disabled");
    if (auto* button = qobject_cast<QAbstractButton*>(&control))
        setChecked(*button, flagOf(control, value));
    else if (auto* combo = qobject_cast<QComboBox*>(&control))
        setComboValue(*combo, value);
    else if (auto* edit = qobject_cast<QLineEdit*>(&control))
        typeText(*edit, value);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(&control))
        plain->setPlainText(value);
    else if (auto* rich = qobject_cast<QTextEdit*>(&control))
        rich->setPlainText(value);
    else if (auto* spin = qobject_cast<QAbstractSpinBox*>(&control))
        setSpinValue(*spin, value);
    else if (auto* slider = qobject_cast<QAbstractSlider*>(&control))
        slider->setValue(numberOf(control, value));
    else if (auto* tabs = qobject_cast<QTabWidget*>(&control))
        tabs->setCurrentIndex(itemPosition(tabTexts(*tabs), value, false));
    else if (auto* view = qobject_cast<QAbstractItemView*>(&control))
        setViewSelection(*view, value);
    else
        refuse(control, "takes no value");
}

QString controlProperty(QWidget& control, const QString& property) {
    if (property == QStringLiteral("text"))
        return valueText(control);
    if (property == QStringLiteral("index"))
        return QString::number(indexOf(control));
    if (property == QStringLiteral("items"))
        return itemTexts(control).join(QLatin1Char('|'));
    if (property == QStringLiteral("rows"))
        return rowCells(control).join(QLatin1Char('|'));
    if (property == QStringLiteral("count"))
        return QString::number(itemTexts(control).size());
    if (property == QStringLiteral("enabled"))
        return flagText(control.isEnabled());
    if (property == QStringLiteral("visible"))
        return flagText(control.isVisible());
    if (property == QStringLiteral("checked"))
        return flagText(isChecked(control));
    if (property == QStringLiteral("title"))
        return titleOf(control);
    throw StepError("no property \"" + utf8Of(property) + "\"");
}

QString actionProperty(const QAction& action, const QString& property) {
    if (property == QStringLiteral("text"))
        return plainCaption(action.text());
    if (property == QStringLiteral("enabled"))
        return flagText(action.isEnabled());
    if (property == QStringLiteral("visible"))
        return flagText(action.isVisible());
    if (property == QStringLiteral("checked"))
        return flagText(action.isChecked());
    throw StepError("no property \"" + utf8Of(property) + "\" of a menu item");
}

void clickControl(QWidget& control) {
    auto* button = qobject_cast<QAbstractButton*>(&control);
    if (button == nullptr)
        refuse(control, "cannot be clicked");
    if (!button->isEnabled())
        refuse(control, "is disabled");
    button->click();
}

void selectControlText(QWidget& control, int from, int to) {
    if (auto* edit = qobject_cast<QLineEdit*>(&control)) {
        if (from < 0 || to < from || to > edit->text().size())
            refuse(control, "has no such characters");
        edit->setSelection(from, to - from);
        return;
    }
    QTextCursor cursor;
    int length = 0;
    if (auto* plain = qobject_cast<QPlainTextEdit*>(&control)) {
        cursor = plain->textCursor();
        length = static_cast<int>(plain->toPlainText().size());
    } else if (auto* rich = qobject_cast<QTextEdit*>(&control)) {
        cursor = rich->textCursor();
        length = static_cast<int>(rich->toPlainText().size());
    } else {
        refuse(control, "holds no text");
    }
    if (from < 0 || to < from || to > length)
        refuse(control, "has no such characters");
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    if (auto* plain = qobject_cast<QPlainTextEdit*>(&control))
        plain->setTextCursor(cursor);
    else
        qobject_cast<QTextEdit*>(&control)->setTextCursor(cursor);
}

void editCell(QAbstractItemView& view, int row, int column, const QString& text) {
    const QModelIndex index = view.model()->index(row, column, view.rootIndex());
    if (!index.isValid())
        throw LookupMiss("no cell " + std::to_string(row) + "," + std::to_string(column));
    const QList<QWidget*> before =
        view.viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    view.setCurrentIndex(index);
    view.edit(index);
    QWidget* editor = nullptr;
    for (QWidget* child : view.viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!before.contains(child) && child->isVisible())
            editor = child;
    if (editor == nullptr)
        refuse(view, "cannot edit that cell");
    setControlValue(*editor, text);
    QAbstractItemDelegate* delegate = view.itemDelegateForIndex(index);
    emit delegate->commitData(editor);
    emit delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

} // namespace pagora
