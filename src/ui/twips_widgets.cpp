#include "ui/twips_widgets.h"

#include <QRectF>
#include <QVariant>
#include <QWidget>

#include <cmath>

static const char *const kTwipsProperty = "twipsRect";

static int toPixels(float twips)
{
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

void setTwipsRect(QWidget *widget, const TwipsRect &rect)
{
    widget->setProperty(kTwipsProperty, QRectF(rect.left, rect.top, rect.width, rect.height));
    widget->setGeometry(toPixels(rect.left), toPixels(rect.top), toPixels(rect.width), toPixels(rect.height));
}

TwipsRect twipsRect(const QWidget *widget)
{
    const QVariant stored = widget->property(kTwipsProperty);
    if (stored.isValid()) {
        const QRectF r = stored.toRectF();
        return {float(r.x()), float(r.y()), float(r.width()), float(r.height())};
    }
    const QRect g = widget->geometry();
    return {g.x() * kTwipsPerPixel, g.y() * kTwipsPerPixel, g.width() * kTwipsPerPixel, g.height() * kTwipsPerPixel};
}

void setTwipsPos(QWidget *widget, const TwipsPoint &pos)
{
    TwipsRect r = twipsRect(widget);
    r.left = pos.left;
    r.top = pos.top;
    setTwipsRect(widget, r);
}

void takePixelSize(QWidget *widget)
{
    TwipsRect r = twipsRect(widget);
    r.width = widget->width() * kTwipsPerPixel;
    r.height = widget->height() * kTwipsPerPixel;
    widget->setProperty(kTwipsProperty, QRectF(r.left, r.top, r.width, r.height));
}
