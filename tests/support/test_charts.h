#pragma once

#include <QImage>
#include <QPoint>
#include <QString>

// Charts the widget tests draw themselves, so the values under every pixel are known.
struct TestChart {
    QImage image;
    // Reference ticks, in pixels of the picture, and the values written there.
    QPoint xTick0, xTick1, yTick0, yTick1;
    QString xValue0, xValue1, yValue0, yValue1;
};

// A white chart with black axes, tick marks at the reference positions and a dark curve.
TestChart linearChart(QSize size = {600, 400});
TestChart logChart(QSize size = {600, 400});

// Saves under `fileName` in `folder`; the format follows the name's extension.
QString saveChart(const QImage &image, const QString &folder, const QString &fileName);

// Raw bytes of a file, or an empty array when it does not exist.
QByteArray fileBytes(const QString &path);
