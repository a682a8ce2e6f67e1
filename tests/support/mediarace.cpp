// A test tool, preloaded with LD_PRELOAD: widens two timing windows of Qt's
// GStreamer media player with sleeps, so that its deadlock between loading an
// item and the decoder's streaming thread happens at once instead of rarely.
//
// 1. The thread that loads an item sets the pipeline to PAUSED. While that state
//    change runs, the streaming thread may already have added the audio output
//    bin, which the state change then sets to PAUSED too. Here the change waits
//    kStateChangeDelay after the file source went to PAUSED.
// 2. The streaming thread, on the decoder's new pad, adds the audio output bin,
//    links it and sets its state, holding the parser's stream lock. Here that
//    state change waits kOutputDelay first.
// The loading thread then seeks (flushing): it takes the output bin's state lock
// and waits for the stream lock, while the streaming thread waits for the bin's
// state lock.
#include <chrono>
#include <cstring>
#include <dlfcn.h>
#include <thread>

namespace {
using namespace std::chrono_literals;
constexpr auto kStateChangeDelay = 500ms;
constexpr auto kOutputDelay = 1500ms;
constexpr int kPaused = 3;      // GST_STATE_PAUSED
constexpr int kChangeAsync = 2; // GST_STATE_CHANGE_ASYNC

struct GstElement;
using SetState = int (*)(GstElement*, int);
using GetState = int (*)(GstElement*, int*, int*, unsigned long);
using GetName = char* (*)(void*);
using GetParent = void* (*)(void*);
using Unref = void (*)(void*);
using Free = void (*)(void*);

// GStreamer is loaded by the media plugin, not into the global scope.
template <class F> F gst(const char* name) {
    void* lib = dlopen("libgstreamer-1.0.so.0", RTLD_NOW | RTLD_NOLOAD);
    return lib ? reinterpret_cast<F>(dlsym(lib, name)) : nullptr;
}

bool named(GstElement* element, const char* name) {
    static const auto getName = gst<GetName>("gst_object_get_name");
    static const auto free = gst<Free>("g_free");
    char* own = getName(element);
    const bool same = own && std::strcmp(own, name) == 0;
    free(own);
    return same;
}

// The element's parent is on its way to a state it has not reached yet.
bool parentChanging(GstElement* element) {
    static const auto getParent = gst<GetParent>("gst_object_get_parent");
    static const auto getState = gst<GetState>("gst_element_get_state");
    static const auto unref = gst<Unref>("gst_object_unref");
    void* parent = getParent(element);
    if (!parent) return false;
    int state = 0, pending = 0;
    const bool changing =
        getState(static_cast<GstElement*>(parent), &state, &pending, 0) == kChangeAsync;
    unref(parent);
    return changing;
}

thread_local bool loading = false; // this thread sets a pipeline to PAUSED
} // namespace

extern "C" int gst_element_set_state(GstElement* element, int state) {
    static const auto real = gst<SetState>("gst_element_set_state");
    if (state != kPaused) return real(element, state);
    if (named(element, "playerPipeline")) {
        loading = true;
        const int result = real(element, state);
        loading = false;
        return result;
    }
    if (loading && named(element, "source")) {
        const int result = real(element, state);
        std::this_thread::sleep_for(kStateChangeDelay);
        return result;
    }
    if (!loading && named(element, "audioOutput") && parentChanging(element))
        std::this_thread::sleep_for(kOutputDelay);
    return real(element, state);
}
