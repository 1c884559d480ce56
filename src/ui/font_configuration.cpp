#include "ui/font_configuration.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

FontConfigurationReader::FontConfigurationReader()
{
    try {
        m_thread = std::thread([] { FcInit(); });
    } catch (const std::system_error &) {
        // No thread: the font database reads the configuration itself when it is first used.
    }
}

FontConfigurationReader::~FontConfigurationReader()
{
    wait();
}

void FontConfigurationReader::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}
