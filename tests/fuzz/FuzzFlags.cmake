# The fuzzing configuration: every library is compiled with libFuzzer's
# coverage hooks and the address and undefined-behaviour checks, so that a
# fault deep inside a library stops the run at the faulty line. Only the fuzz
# targets link the fuzzer's own main (tests/fuzz/CMakeLists.txt).
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "GRITTLEBOX_FUZZ needs clang's libFuzzer: configure with CC=clang CXX=clang++")
endif()
if(GRITTLEBOX_SANITIZE OR GRITTLEBOX_TSAN)
  message(FATAL_ERROR "GRITTLEBOX_FUZZ brings its own sanitizers; leave GRITTLEBOX_SANITIZE and GRITTLEBOX_TSAN off")
endif()
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                    -fno-omit-frame-pointer -g)
add_link_options(-fsanitize=address,undefined)
