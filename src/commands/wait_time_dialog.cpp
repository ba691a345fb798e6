#include "commands/wait_time_dialog.h"

#include "gui/number_pad.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <cstdint>
#include <limits>

namespace pagora {
namespace {

constexpr int kMillisecondsPerSecond = 1000;

} // namespace

TfrmWaitTime::TfrmWaitTime(DialogContext& context, QWidget* parent)
    : TRecordDialog(context, {"TfrmWaitTime", QStringLiteral("待ち時間の設定")}, parent)
    , cmbWaitTime_(new NumberBox(context.numberPad))
    , cmbUnit_(new QComboBox) {
    cmbWaitTime_->setObjectName(QStringLiteral("cmbWaitTime"));
    cmbUnit_->setObjectName(QStringLiteral("cmbUnit"));
    cmbUnit_->addItems({QStringLiteral("秒"), QStringLiteral("ミリ秒")});
    auto* label = new QLabel(QStringLiteral("待つ"));
    label->setObjectName(QStringLiteral("Label1"));

    auto* group = new QGroupBox(QStringLiteral("待ち時間の指定"));
    auto* row = new QHBoxLayout(group);
    row->addWidget(cmbWaitTime_, 1);
    row->addWidget(cmbUnit_);
    row->addWidget(label);
    setBody(group);
}

void TfrmWaitTime::showRecord(const TCmdWaitTime& record) {
    const bool wholeSeconds = record.Time % kMillisecondsPerSecond == 0;
    cmbUnit_->setCurrentIndex(wholeSeconds ? Seconds : Milliseconds);
    cmbWaitTime_->setValue(wholeSeconds ? record.Time / kMillisecondsPerSecond : record.Time);
}

// A number of seconds whose milliseconds a line cannot hold is refused.
void TfrmWaitTime::fillRecord(TCmdWaitTime& record) {
    const std::int64_t factor = cmbUnit_->currentIndex() == Seconds ? kMillisecondsPerSecond : 1;
    const std::int64_t time = cmbWaitTime_->value() * factor;
    if (time > std::numeric_limits<int>::max() || time < std::numeric_limits<int>::min())
        throw FieldError(
            QStringLiteral("待ち時間が長すぎます。\n秒で指定できるのは %1 秒までです。")
                .arg(std::numeric_limits<int>::max() / kMillisecondsPerSecond),
            cmbWaitTime_);
    record.Time = static_cast<int>(time);
}

} // namespace pagora
