#include "app/forms/StatusForm.h"

#include <QLabel>
#include <QPalette>

#include "app/platform/Twips.h"

namespace {

using core::layout::statusform::kPlacement;
const QColor kYellow(255, 255, 0);

}  // namespace

StatusForm::StatusForm()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::WaitCursor);
    label1_ = new QLabel(InitialCaption(), this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Form_Load();
}

void StatusForm::Form_Load() {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kYellow);
    palette.setColor(QPalette::WindowText, Qt::black);
    setPalette(palette);
    setAutoFillBackground(true);
    label1_->setAutoFillBackground(true);

    const QRect placement = app::TwipsLayout::For(*this).ToPixels(kPlacement);
    setGeometry(placement);
    label1_->setGeometry(0, 0, placement.width(), placement.height());
    // Keep the text inside the strip: it is only a few pixels high.
    QFont font = label1_->font();
    font.setPixelSize(qMax(1, placement.height() - 2));
    label1_->setFont(font);

    show();
    raise();
    repaint();
}

void StatusForm::SetCaption(const QString& text) {
    label1_->setText(text);
}
