// A preload library for the benchmarks: caps every receive buffer that a program asks for
// at 212,992 bytes, the net.core.rmem_max of a stock Debian 12, so that a machine whose
// limit was raised measures what a stock one does without changing the machine.
//   LD_PRELOAD=build/bench/engine/libfs_stock_receive_buffer.so PROGRAM ...
#include <dlfcn.h>
#include <sys/socket.h>

#include <algorithm>

namespace {

constexpr int kStockReceiveBufferMax = 212992;

using SetSockOpt = int (*)(int, int, int, const void*, socklen_t);

} // namespace

extern "C" int setsockopt(int fd, int level, int name, const void* value, socklen_t length)
{
    static const auto next = reinterpret_cast<SetSockOpt>(dlsym(RTLD_NEXT, "setsockopt"));
    if (level == SOL_SOCKET && (name == SO_RCVBUF || name == SO_RCVBUFFORCE) && value != nullptr &&
        length == sizeof(int)) {
        const int capped = std::min(*static_cast<const int*>(value), kStockReceiveBufferMax);
        return next(fd, level, SO_RCVBUF, &capped, length);
    }
    return next(fd, level, name, value, length);
}
