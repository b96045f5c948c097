# One interface target carries the warning set of our own code, so third-party
# headers (Qt, gtest) are not held to it.
add_library(corvan_warnings INTERFACE)
target_compile_options(corvan_warnings INTERFACE
  -Wall -Wextra -Wpedantic
  # Qt's container sizes are qsizetype and GDI records mix signed and unsigned
  # 32-bit fields; -Wconversion would bury real findings under casts.
  $<$<BOOL:${CORVAN_WERROR}>:-Werror>)

add_library(corvan_sanitize INTERFACE)
if(CORVAN_SANITIZE)
  # GCC leaves float-to-integer overflow out of "undefined"; coordinates from
  # files pass through such conversions, so it is checked too.
  target_compile_options(corvan_sanitize INTERFACE
    -fsanitize=address,undefined,float-cast-overflow
    -fno-sanitize-recover=undefined,float-cast-overflow -fno-omit-frame-pointer)
  target_link_options(corvan_sanitize INTERFACE -fsanitize=address,undefined,float-cast-overflow)
endif()
if(CORVAN_FUZZ)
  target_compile_options(corvan_sanitize INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined)
  target_link_options(corvan_sanitize INTERFACE -fsanitize=address,undefined)
endif()
