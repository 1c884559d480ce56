#pragma once

// A run of pixels along a row that hold ink.
struct InkRunOnRow {
    int y = 0;
    int x0 = 0; // first and last pixel, inclusive
    int x1 = 0;
};
