#include "manager/ui/up_down.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace zw {

namespace {
QToolButton* arrow(QWidget* parent, Qt::ArrowType type, const char* name, const QString& accessibleName)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setArrowType(type);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAccessibleName(accessibleName);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    return button;
}
} // namespace

UpDown::UpDown(QWidget* parent) : QWidget(parent)
{
    up_ = arrow(this, Qt::UpArrow, "Up", QStringLiteral("Wert erhöhen"));
    down_ = arrow(this, Qt::DownArrow, "Down", QStringLiteral("Wert verringern"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(up_);
    layout->addWidget(down_);
    connect(up_, &QToolButton::clicked, this, [this] { emit stepped(1); });
    connect(down_, &QToolButton::clicked, this, [this] { emit stepped(-1); });
}

} // namespace zw
