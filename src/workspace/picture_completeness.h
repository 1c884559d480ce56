#pragma once

#include <QSize>

class QIODevice;

// Whether a picture file holds all the data its header promises. A file cut short (a download broken off, a copy
// onto a full disk) would otherwise load as a picture that is grey or black below the cut; the program refuses it.
// Both read `device` from its current position and leave it anywhere.

// True when a JPEG stream runs from its start-of-image marker through every segment and scan to its end-of-image
// marker. Stray bytes between segments, which libjpeg steps over with a warning, are stepped over too. Data
// after the end-of-image marker is not read.
[[nodiscard]] bool jpegReachesItsEnd(QIODevice &device);

// False when a BMP file is shorter than the pixel data its header describes (uncompressed rows, or the stated
// size of compressed data), and when its header is of no known kind or describes another size than `decoded`,
// the one the reader reports: the reader takes such a header for another kind, and a few bytes could make a
// picture of a gigabyte. A file too short to hold a size, or no BMP at all, is left to the reader.
[[nodiscard]] bool bmpHoldsItsPixels(QIODevice &device, QSize decoded);
