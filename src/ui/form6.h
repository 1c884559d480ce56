#pragma once

#include "marking/palette_fields.h"

#include <QHash>
#include <QImage>
#include <QRgb>
#include <QSize>
#include <QString>

#include <array>

// The program's stock of drawn pictures: the palette pictures in each of their states (reached by name, as
// the palette boxes ask for them), the pointer option pictures, the magnifier button and the window icons.
// The palette pictures are drawn the first time they are asked for, everything else in the constructor; the
// getters hand out shared copies.
class Form6 {
public:
    // The look, shared with whoever needs to tell the marking apart.
    static constexpr QRgb kBackground = qRgb(212, 208, 200);
    static constexpr QRgb kItem = qRgb(0, 0, 0);
    static constexpr QRgb kHighlight = qRgb(0, 0, 128);
    static constexpr QRgb kHighlightedItem = qRgb(255, 255, 255);
    static constexpr QRgb kSwatchOutline = qRgb(64, 64, 64);
    static constexpr QRgb kChosenColourFrame = qRgb(0, 0, 128);
    // The chosen colour's frame lies this many pixels wide just outside the swatch outline.
    static constexpr int kChosenColourFrameWidth = 2;
    // Preview of the chosen colour in the free strip left of the colour fields; its outline lies on the bounds.
    static constexpr OpenRect kColourPreview{4, 4, 29, 31};
    // The green state picture is one pixel wider than the others.
    static constexpr int kWideColourPictureWidth = 100;

    static constexpr QSize kPointerPictureSize{34, 41};
    static constexpr QSize kMagnifierPictureSize{40, 33};
    static constexpr QSize kIconSize{16, 16};

    Form6();

    // A palette picture by name ("Picture4".."Picture14", "Picture22".."Picture27"); null for any other name.
    [[nodiscard]] QImage picture(const QString &name) const;
    // 1 full cross-hair, 2 small cross, 3 standard arrow; null for any other option.
    [[nodiscard]] QImage pointerPicture(int option) const;
    [[nodiscard]] QImage magnifierPicture() const { return m_magnifier; }
    [[nodiscard]] QImage mainIcon() const { return m_mainIcon; }
    [[nodiscard]] QImage auxiliaryIcon() const { return m_auxiliaryIcon; }
    [[nodiscard]] QImage closeIcon() const { return m_closeIcon; }

private:
    [[nodiscard]] static QImage drawPalettePicture(const QString &name);

    mutable QHash<QString, QImage> m_pictures;
    std::array<QImage, 3> m_pointers;
    QImage m_magnifier;
    QImage m_mainIcon;
    QImage m_auxiliaryIcon;
    QImage m_closeIcon;
};
