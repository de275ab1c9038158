# Options every target of the project takes: language level, warnings, Qt
# settings, sanitizers. Link zr_common PRIVATE into each target.
add_library(zr_common INTERFACE)
target_compile_features(zr_common INTERFACE cxx_std_17)
target_compile_options(zr_common INTERFACE
    $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra>
    $<$<AND:$<COMPILE_LANGUAGE:CXX>,$<CXX_COMPILER_ID:GNU,Clang>>:-Wnon-virtual-dtor -Woverloaded-virtual>
    # MSVC, the documented Windows toolchain: the same strictness (level 4,
    # the standard's rules, __cplusplus as the standard says, which Qt
    # checks) and UTF-8 sources, whatever the machine's code page.
    $<$<CXX_COMPILER_ID:MSVC>:/W4 /permissive- /Zc:__cplusplus /utf-8>)
# Qt's safety rules: no implicit 8-bit casts either way of a byte array, no
# narrowing in connections, no Qt-only loops or Java-style iterators, and
# string expressions built in one allocation.
target_compile_definitions(zr_common INTERFACE
    QT_NO_CAST_TO_ASCII QT_NO_CAST_FROM_BYTEARRAY QT_USE_QSTRINGBUILDER QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_FOREACH QT_NO_JAVA_STYLE_ITERATORS QT_NO_URL_CAST_FROM_STRING QT_DISABLE_DEPRECATED_BEFORE=0x060400)

if(ZR_WERROR)
    target_compile_options(zr_common INTERFACE $<$<CXX_COMPILER_ID:GNU,Clang>:-Werror> $<$<CXX_COMPILER_ID:MSVC>:/WX>)
endif()

# Each of these instruments the whole build its own way; their runtimes do
# not mix.
set(zr_instrumented "")
foreach(option ZR_SANITIZE ZR_TSAN ZR_FUZZ)
    if(${option})
        list(APPEND zr_instrumented ${option})
    endif()
endforeach()
if(zr_instrumented AND MSVC)
    message(FATAL_ERROR "${zr_instrumented} need GCC or Clang")
endif()
list(LENGTH zr_instrumented count)
if(count GREATER 1)
    list(JOIN zr_instrumented " and " named)
    message(FATAL_ERROR "${named} cannot be combined: configure one build folder for each")
endif()

if(ZR_SANITIZE)
    target_compile_options(zr_common INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(zr_common INTERFACE -fsanitize=address,undefined)
endif()
if(ZR_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "ZR_FUZZ needs clang: -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++")
    endif()
    # Coverage for the fuzzer in all project code; fuzz targets add the
    # fuzzer's main when they link.
    target_compile_options(zr_common INTERFACE
        -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(zr_common INTERFACE -fsanitize=address,undefined)
endif()
if(ZR_TSAN)
    target_compile_options(zr_common INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(zr_common INTERFACE -fsanitize=thread)
endif()

set(CMAKE_AUTOMOC ON)
