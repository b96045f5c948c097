// Records the code address that raised each exception, then hands over to
// the runtime's own __cxa_throw, so the exception handler can say where an
// exception came from. Kept apart from other code: the compiler knows this
// function with its own parameter types.
#include <dlfcn.h>

namespace {

thread_local const void* g_throwAddress = nullptr;

}  // namespace

extern "C" [[noreturn]] void __cxa_throw(void* object, void* type, void (*destroy)(void*)) {
    using Throw = void (*)(void*, void*, void (*)(void*));
    static Throw real = reinterpret_cast<Throw>(dlsym(RTLD_NEXT, "__cxa_throw"));
    g_throwAddress = __builtin_return_address(0);
    real(object, type, destroy);
    __builtin_unreachable();
}

namespace corvan {

const void* LastThrowAddress() {
    return g_throwAddress;
}

}  // namespace corvan
