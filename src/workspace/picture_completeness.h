#pragma once

class QIODevice;

// Whether a picture file holds all the data its header promises. A file cut short (a download broken off, a copy
// onto a full disk) would otherwise load as a picture that is grey or black below the cut; the program refuses it.
// Both read `device` from its current position and leave it anywhere.

// True when a JPEG stream runs from its start-of-image marker through every segment and scan to its end-of-image
// marker. Stray bytes between segments, which libjpeg steps over with a warning, are stepped over too. Data
// after the end-of-image marker is not read.
[[nodiscard]] bool jpegReachesItsEnd(QIODevice &device);

// False when a BMP file's header is readable and the file is shorter than the pixel data it describes
// (uncompressed rows, or the stated size of compressed data); a header it cannot read is left to the reader.
[[nodiscard]] bool bmpHoldsItsPixels(QIODevice &device);
