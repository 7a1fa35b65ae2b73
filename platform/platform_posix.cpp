#include "platform/platform.h"

#include <system_error>
#include <thread>

namespace platform {

std::filesystem::path executableFolder() {
    std::error_code failed;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", failed);
    return failed ? std::filesystem::path() : self.parent_path();
}

void sleepUntil(time until) {
    std::this_thread::sleep_until(until);
}

} // namespace platform
