// A test tool, preloaded with LD_PRELOAD: ends the process with status 70 when its
// connection to the sound server is torn down on the main thread after the
// application object has gone, that is by the media libraries' own teardown at exit.
// Qt Multimedia 6.4 does that without the lock of the thread that serves the
// connection, which now and then aborts the process (an assertion in PulseAudio's
// main loop); a process that goes through it at all fails here at once.
#include <cstdio>
#include <dlfcn.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
constexpr int kTornDownAtExit = 70;

bool applicationGone() {
    // QCoreApplication::self
    static void** const self =
        static_cast<void**>(dlsym(RTLD_DEFAULT, "_ZN16QCoreApplication4selfE"));
    return self && !*self;
}
} // namespace

extern "C" void pa_context_disconnect(void* context) {
    static const auto real =
        reinterpret_cast<void (*)(void*)>(dlsym(RTLD_NEXT, "pa_context_disconnect"));
    if (syscall(SYS_gettid) == getpid() && applicationGone()) {
        std::fputs("sound server connection torn down at exit\n", stderr);
        std::fflush(nullptr);
        _exit(kTornDownAtExit);
    }
    real(context);
}
