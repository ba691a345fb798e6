#include "commands/font_setting_dialog.h"

#include "gui/dialog_context.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>

namespace pagora {
namespace {

QString captionOf(TfrmFontSetting::Mode mode) {
    return mode == TfrmFontSetting::FontSize ? QStringLiteral("フォントサイズ変更")
                                             : QStringLiteral("ウェイトタイム設定");
}

} // namespace

TfrmFontSetting::TfrmFontSetting(DialogContext& context, Mode mode, QWidget* parent)
    : DialogFrame(context.services, {"TfrmFontSetting", captionOf(mode)}, parent)
    , mode_(mode)
    , TrackBar(new QSlider(Qt::Horizontal, this))
    , lblValue(new QLabel(this)) {
    TrackBar->setObjectName(QStringLiteral("TrackBar"));
    lblValue->setObjectName(QStringLiteral("lblValue"));
    if (mode == FontSize)
        TrackBar->setRange(-10, 10);
    else
        TrackBar->setRange(0, 20);
    TrackBar->setPageStep(1);
    TrackBar->setTickPosition(QSlider::TicksBelow);
    TrackBar->setTickInterval(1);
    TrackBar->setMinimumWidth(TrackBar->maximum() - TrackBar->minimum() > 10 ? 240 : 160);
    lblValue->setMinimumWidth(lblValue->fontMetrics().horizontalAdvance(QStringLiteral("-10.0s")));
    lblValue->setAlignment(Qt::AlignCenter);

    auto* row = new QHBoxLayout;
    row->addWidget(TrackBar, 1);
    row->addWidget(lblValue);
    setBody(row);
    connect(TrackBar, &QSlider::valueChanged, this, &TfrmFontSetting::TrackBarChange);
    setValue(0);
}

int TfrmFontSetting::run(const QPoint& position) {
    move(position);
    return runModal() ? value() : 0;
}

QString TfrmFontSetting::valueText(Mode mode, int value) {
    if (mode == WaitTime)
        return QStringLiteral("%1.%2s").arg(value / 10).arg(value % 10);
    return value >= 0 ? QStringLiteral("+%1").arg(value) : QString::number(value);
}

int TfrmFontSetting::value() const {
    return TrackBar->value();
}

void TfrmFontSetting::setValue(int value) {
    TrackBar->setValue(value);
    TrackBarChange();
}

void TfrmFontSetting::TrackBarChange() {
    lblValue->setText(valueText(mode_, TrackBar->value()));
}

} // namespace pagora
