#include "gui/wizard_frame.h"

#include "gui/dialog_frame.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace pagora {
namespace {

constexpr int kStripWidth = 96;

// The picture at the left of the pages: a sky over a hill, with the pages
// of a book standing on it.
class PictureStrip : public QWidget {
public:
    explicit PictureStrip(QWidget* parent)
        : QWidget(parent) {
        setObjectName(QStringLiteral("imgPicture"));
        setFixedWidth(kStripWidth);
        setMinimumHeight(200);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QLinearGradient sky(0, 0, 0, height());
        sky.setColorAt(0, QColor(0x2a, 0x4d, 0x9b));
        sky.setColorAt(1, QColor(0xa8, 0xd0, 0xf0));
        painter.fillRect(rect(), sky);

        const int hillTop = height() * 3 / 4;
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x5d, 0x9b, 0x4a));
        painter.drawEllipse(QRect(-width() / 2, hillTop, width() * 2, height()));

        painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
        for (int page = 0; page < 3; ++page) {
            painter.setBrush(page == 2 ? QColor(Qt::white) : QColor(0xe8, 0xe4, 0xd8));
            painter.drawRect(QRectF(22 + page * 8, hillTop - 56 + page * 6, 40, 52));
        }
    }
};

} // namespace

WizardFrame::WizardFrame(DialogServices& services, const WizardSpec& spec, QWidget* parent)
    : QDialog(parent)
    , services_(services)
    , NoteBook(new QStackedWidget(this))
    , back_(makeButton(QString(), spec.backName, this))
    , next_(makeButton(QString(), spec.nextName, this))
    , buttonRow_(new QHBoxLayout) {
    setObjectName(QString::fromLatin1(spec.objectName));
    setWindowTitle(spec.caption);
    NoteBook->setObjectName(QStringLiteral("NoteBook"));

    auto* pages = new QHBoxLayout;
    pages->addWidget(new PictureStrip(this));
    pages->addWidget(NoteBook, 1);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    buttonRow_->addStretch(1);
    buttonRow_->addWidget(back_);
    buttonRow_->addWidget(next_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(pages, 1);
    layout->addWidget(line);
    layout->addLayout(buttonRow_);
}

bool WizardFrame::runModal() {
    return runModalDialog(services_, *this);
}

int WizardFrame::PageIndex() const {
    return NoteBook->currentIndex();
}

void WizardFrame::addPage(QLayout* content) {
    auto* page = new QWidget(NoteBook);
    page->setObjectName(QStringLiteral("Page%1").arg(NoteBook->count()));
    page->setLayout(content);
    NoteBook->addWidget(page);
}

void WizardFrame::setPage(int index) {
    NoteBook->setCurrentIndex(index);
    UpdateButtons();
}

QVBoxLayout* WizardFrame::textPage(const QString& title, const QStringList& lines) {
    auto* layout = new QVBoxLayout;
    if (!title.isEmpty()) {
        auto* heading = new QLabel(title, this);
        QFont bold = heading->font();
        bold.setBold(true);
        bold.setPointSizeF(bold.pointSizeF() * 1.2);
        heading->setFont(bold);
        layout->addWidget(heading);
    }
    auto* explanation = new QLabel(lines.join(QLatin1Char('\n')), this);
    explanation->setWordWrap(true);
    explanation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(explanation);
    return layout;
}

} // namespace pagora
