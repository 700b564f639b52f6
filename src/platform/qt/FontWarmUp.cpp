#include "platform/qt/FontWarmUp.h"

#include <system_error>

#ifdef SUDOKU_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace sudoku::qt {

FontWarmUp::FontWarmUp() {
#ifdef SUDOKU_HAVE_FONTCONFIG
    // The toolkit reads the same, process-wide configuration; whichever comes second finds it read.
    try {
        thread_ = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
        // No second thread: the toolkit reads it itself when it first needs it.
    }
#endif
}

FontWarmUp::~FontWarmUp() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace sudoku::qt
