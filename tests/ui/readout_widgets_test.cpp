#include "ui/readout_widgets.h"

#include "ui/control_style.h"

#include <QApplication>
#include <QImage>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The box around the pixels that stand out from the widget's background by more than `contrast`.
QRect ink(const QImage &shot, int contrast)
{
    const QColor background = shot.pixelColor(shot.width() / 2, 1);
    QRect box;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            const int d = std::abs(c.red() - background.red()) + std::abs(c.green() - background.green()) +
                          std::abs(c.blue() - background.blue());
            if (d > contrast)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

template <typename Widget> QImage shot(QWidget &window, const QString &text, QRect geometry, Qt::Alignment alignment)
{
    Widget widget(&window);
    widget.setFont(ControlStyle::font());
    widget.setGeometry(geometry);
    widget.setAlignment(alignment);
    if constexpr (std::is_base_of_v<QLineEdit, Widget>)
        widget.setReadOnly(true);
    widget.setText(text);
    widget.show();
    QApplication::processEvents();
    return widget.grab().toImage();
}

void expectNear(const QRect &a, const QRect &b)
{
    EXPECT_LE(std::abs(a.left() - b.left()), 1) << a.left() << " vs " << b.left();
    EXPECT_LE(std::abs(a.right() - b.right()), 1) << a.right() << " vs " << b.right();
    EXPECT_LE(std::abs(a.top() - b.top()), 1) << a.top() << " vs " << b.top();
    EXPECT_LE(std::abs(a.bottom() - b.bottom()), 1) << a.bottom() << " vs " << b.bottom();
}

} // namespace

TEST(Readouts, PaintTheirTextWhereTheLabelAndTheLineEditDo)
{
    QWidget window;
    window.resize(300, 100);
    window.show();
    for (const QString &text : {u"1503.75"_s, u"-0.00012"_s, u"8"_s, u"1.5E+12"_s, u"Gerçek x ="_s}) {
        SCOPED_TRACE(text.toStdString());
        for (const Qt::Alignment a :
             {Qt::AlignHCenter | Qt::AlignTop, Qt::AlignLeft | Qt::AlignVCenter, Qt::AlignRight | Qt::AlignBottom}) {
            SCOPED_TRACE("label " + std::to_string(int(a)));
            const QRect labelRect(10, 10, 80, 17);
            const QRect qtLabel = ink(shot<QLabel>(window, text, labelRect, a), 200);
            ASSERT_FALSE(qtLabel.isEmpty());
            expectNear(ink(shot<ReadoutLabel>(window, text, labelRect, a), 200), qtLabel);
        }
        for (const Qt::Alignment a : {Qt::AlignRight, Qt::AlignLeft, Qt::AlignHCenter}) {
            SCOPED_TRACE("box " + std::to_string(int(a)));
            const QRect boxRect(10, 40, 73, 19);
            // Dark pixels only: the text, not the frame.
            const QRect qtBox = ink(shot<QLineEdit>(window, text, boxRect, a), 450);
            ASSERT_FALSE(qtBox.isEmpty());
            expectNear(ink(shot<ReadoutBox>(window, text, boxRect, a), 450), qtBox);
        }
    }
}

TEST(Readouts, SelectedOrOverlongTextIsPaintedByTheLineEditItself)
{
    QWidget window;
    window.resize(300, 100);
    window.show();
    const auto paint = [&window](QLineEdit &box, const QString &text, bool select) {
        box.setParent(&window);
        box.setFont(ControlStyle::font());
        box.setGeometry(10, 40, 73, 19);
        box.setAlignment(Qt::AlignRight);
        box.setReadOnly(true);
        box.setFocusPolicy(Qt::NoFocus); // the window gives neither of the two boxes its focus frame
        box.setText(text);
        if (select)
            box.selectAll();
        box.show();
        QApplication::processEvents();
        const QImage image = window.grab(box.geometry()).toImage(); // the window shows at the rounded corners
        box.hide();
        return image;
    };
    for (const auto &[text, select] : {std::pair{u"1503.75"_s, true}, {u"123456789.123456789012"_s, false}}) {
        SCOPED_TRACE(text.toStdString());
        QLineEdit qtBox;
        ReadoutBox readout;
        EXPECT_EQ(paint(readout, text, select), paint(qtBox, text, select));
    }
}

// The glyphs a readout has looked up belong to its font: after a new font the text stands where Qt puts it.
TEST(Readouts, KeepPlacingTextRightAfterTheFontChanges)
{
    QWidget window;
    window.resize(300, 100);
    window.show();
    const auto grabbed = [&](QWidget &widget, const QFont &font) {
        widget.setFont(font);
        QApplication::processEvents();
        return widget.grab().toImage();
    };
    const QString text = u"-1503.7500"_s;
    QLabel qtLabel(text, &window);
    ReadoutLabel label(text, &window);
    QLineEdit qtBox(text, &window);
    ReadoutBox box(&window);
    box.setText(text);
    for (QLineEdit *b : {&qtBox, static_cast<QLineEdit *>(&box)}) {
        b->setReadOnly(true);
        b->setAlignment(Qt::AlignRight);
        b->setGeometry(10, 40, 140, 30);
    }
    qtLabel.setGeometry(10, 5, 140, 30);
    label.setGeometry(10, 5, 140, 30);
    for (const QFont &font : {ControlStyle::font(), ControlStyle::font(14, true), ControlStyle::font(9.75)}) {
        SCOPED_TRACE(font.toString().toStdString());
        expectNear(ink(grabbed(label, font), 200), ink(grabbed(qtLabel, font), 200));
        expectNear(ink(grabbed(box, font), 450), ink(grabbed(qtBox, font), 450));
    }
}
