#include "support/fake_desktop.h"
#include "support/widget_helpers.h"
#include "ui/form1.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

// The room a control leaves its caption, in pixels.
int captionRoom(const QWidget *w)
{
    if (qobject_cast<const QCheckBox *>(w) || qobject_cast<const QRadioButton *>(w)) {
        const bool check = qobject_cast<const QCheckBox *>(w) != nullptr;
        QStyleOptionButton option;
        option.initFrom(w);
        const int indicator =
            w->style()->pixelMetric(check ? QStyle::PM_IndicatorWidth : QStyle::PM_ExclusiveIndicatorWidth, &option,
                                    w) +
            w->style()->pixelMetric(check ? QStyle::PM_CheckBoxLabelSpacing : QStyle::PM_RadioButtonLabelSpacing,
                                    &option, w);
        return w->width() - indicator;
    }
    if (qobject_cast<const QAbstractButton *>(w))
        return w->width() - 4; // the bevel
    return w->width();
}

QString shownCaption(const QWidget *w)
{
    QString text = qobject_cast<const QLabel *>(w) ? static_cast<const QLabel *>(w)->text()
                                                   : static_cast<const QAbstractButton *>(w)->text();
    return text.remove(u'&');
}

} // namespace

TEST(Form1Captions, EveryCaptionFitsItsControl)
{
    QTemporaryDir folder;
    CurrentFolder current(folder.path());
    FakeDesktop desktop;
    Form1 form(desktop);
    QStringList clipped;
    for (QWidget *w : form.findChildren<QWidget *>()) {
        if (!qobject_cast<QLabel *>(w) && !qobject_cast<QAbstractButton *>(w))
            continue;
        const bool pictureButton =
            w->objectName() == u"Command18"_s ||
            (w->objectName().startsWith(u"Option"_s) && qobject_cast<QAbstractButton *>(w)->text().isEmpty());
        if (pictureButton)
            continue; // picture buttons wrap their caption under the picture
        int needed = 0; // the widest line of a caption
        for (const QString &line : shownCaption(w).trimmed().split(u'\n'))
            needed = std::max(needed, w->fontMetrics().horizontalAdvance(line));
        if (needed > captionRoom(w))
            clipped.append(u"%1 (%2 > %3)"_s.arg(w->objectName()).arg(needed).arg(captionRoom(w)));
    }
    EXPECT_TRUE(clipped.isEmpty()) << clipped.join(u", "_s).toStdString();
}
