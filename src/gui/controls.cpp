#include "gui/controls.h"

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

template <typename Control> Control* named(Control* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

} // namespace

QComboBox* makeList(const char* name, const QStringList& items, QWidget* parent) {
    auto* list = named(new QComboBox(parent), name);
    list->addItems(items);
    list->setCurrentIndex(-1);
    return list;
}

QComboBox* makeEditableList(const char* name, const QStringList& items, QWidget* parent) {
    auto* list = named(new QComboBox(parent), name);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->addItems(items);
    return list;
}

QCheckBox* makeCheckBox(const char* name, const QString& caption, QWidget* parent) {
    return named(new QCheckBox(caption, parent), name);
}

QRadioButton* makeRadioButton(const char* name, const QString& caption, QWidget* parent) {
    return named(new QRadioButton(caption, parent), name);
}

QLineEdit* makeLineEdit(const char* name, QWidget* parent) {
    return named(new QLineEdit(parent), name);
}

QLineEdit* makeReadOnlyEdit(const char* name, QWidget* parent) {
    QLineEdit* edit = makeLineEdit(name, parent);
    edit->setReadOnly(true);
    return edit;
}

} // namespace pagora
