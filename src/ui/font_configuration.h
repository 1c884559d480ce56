#pragma once

#include <thread>

// Reads the desktop's font configuration on a thread of its own while the application connects to the
// display, so that it is ready when the first text is laid out: reading it alone takes a quarter of the time
// a start takes, and the display connection spends as long waiting.
class FontConfigurationReader {
public:
    FontConfigurationReader();
    ~FontConfigurationReader();
    FontConfigurationReader(const FontConfigurationReader &) = delete;
    FontConfigurationReader &operator=(const FontConfigurationReader &) = delete;

    // Returns when the configuration has been read (or could not be), before any font is used.
    void wait();

private:
    std::thread m_thread;
};
