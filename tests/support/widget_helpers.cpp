#include "support/widget_helpers.h"

#include <QAbstractButton>
#include <QDir>
#include <QTest>

void click(const QWidget &window, const QString &buttonName)
{
    auto *button = control<QAbstractButton>(window, buttonName);
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isEnabled()) << buttonName.toStdString();
    button->click();
}

CurrentFolder::CurrentFolder(const QString &path)
    : m_previous(QDir::currentPath())
{
    QDir::setCurrent(path);
}

CurrentFolder::~CurrentFolder()
{
    QDir::setCurrent(m_previous);
}

std::ostream &operator<<(std::ostream &out, const TwipsRect &rect)
{
    return out << "(" << rect.left << ", " << rect.top << ", " << rect.width << " x " << rect.height << ")";
}

std::ostream &operator<<(std::ostream &out, const TwipsPoint &point)
{
    return out << "(" << point.left << ", " << point.top << ")";
}
