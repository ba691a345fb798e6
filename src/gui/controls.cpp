#include "gui/controls.h"

#include "gui/qt_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

namespace pagora {

const QStringList& playWindowNames() {
    static const QStringList names{
        QStringLiteral("メインウインドウ"),     QStringLiteral("メッセージウインドウ"),
        QStringLiteral("セレクトウインドウ"),   QStringLiteral("ユーザーウインドウ１"),
        QStringLiteral("ユーザーウインドウ２"), QStringLiteral("ユーザーウインドウ３")};
    return names;
}

namespace {

template <typename Control> Control* named(Control* control, const QString& name) {
    control->setObjectName(name);
    return control;
}

} // namespace

QComboBox* makeList(const QString& name, const QStringList& items, QWidget* parent) {
    auto* list = named(new QComboBox(parent), name);
    list->addItems(items);
    list->setCurrentIndex(-1);
    return list;
}

QComboBox* makeEditableList(const QString& name, const QStringList& items, QWidget* parent) {
    auto* list = named(new QComboBox(parent), name);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->addItems(items);
    return list;
}

QCheckBox* makeCheckBox(const QString& name, const QString& caption, QWidget* parent) {
    return named(new QCheckBox(caption, parent), name);
}

QRadioButton* makeRadioButton(const QString& name, const QString& caption, QWidget* parent) {
    return named(new QRadioButton(caption, parent), name);
}

QLineEdit* makeLineEdit(const QString& name, QWidget* parent) {
    return named(new QLineEdit(parent), name);
}

QLineEdit* makeReadOnlyEdit(const QString& name, QWidget* parent) {
    QLineEdit* edit = makeLineEdit(name, parent);
    edit->setReadOnly(true);
    return edit;
}

void fillNames(QComboBox& list, const std::vector<std::string>& names, std::string_view chosen) {
    list.clear();
    for (const std::string& name : names)
        list.addItem(qtText(name), nameData(name));
    list.setCurrentIndex(-1);
    selectName(list, chosen);
}

void fillNameList(QComboBox& list, const std::vector<std::string>& names) {
    fillNames(list, names, chosenName(list));
}

void selectName(QComboBox& list, std::string_view name) {
    list.setCurrentIndex(name.empty() ? -1 : list.findData(nameData(name)));
}

std::string chosenName(const QComboBox& list) {
    return list.currentIndex() >= 0 ? nameOfData(list.currentData()) : std::string();
}

} // namespace pagora
