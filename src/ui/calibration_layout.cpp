#include "ui/calibration_layout.h"

CalibrationLayout placeCalibrationControls(const CalibrationLayoutInput &in)
{
    const float l = in.picture.left;
    const float t = in.picture.top;
    const float w = in.picture.width;
    const float h = in.picture.height;
    const float bottom = t + h;

    CalibrationLayout out;
    out.text1 = {l, bottom + 100};
    out.label6 = {l + 125, bottom + 500};
    out.command4 = {l, bottom + 750};
    out.text3 = {l + w - in.text3Width, bottom + 100};
    out.label8 = {l + w - 600, bottom + 500};
    out.command6 = {l + w - in.text3Width, bottom + 750};
    out.text2 = {l - in.text2Width - 100, bottom - 400};
    out.command5 = {2505, bottom - in.text2Height - 700};
    out.label7 = {2670, bottom - 650};
    out.text4 = {2505, t};

    out.check1.top = bottom + 80;
    out.check1.left = l + w / 2 - 300;
    if (out.check1.left < 350)
        out.check1.left = 350;          // a narrow picture far left must not push the box off the window
    out.check2 = {l - 300, bottom / 2}; // half of T + H, not the picture's middle: as laid out originally
    out.label2 = {l - 800, bottom / 2 + 300};

    if (in.command7Top + 350 >= out.check2.top)
        out.check2.top = in.command7Top + 550;
    if (out.check2.top + 150 >= out.label2.top)
        out.label2.top = out.check2.top + 250;
    if (out.check1.left + 800 >= out.text3.left) {
        out.text3.left = out.check1.left + 1200;
        out.label8.left = out.text3.left + 300;
        out.command6.left = out.text3.left;
    }
    return out;
}
