# Options every target of the project takes: language level, warnings, Qt
# settings, sanitizers. Link zr_common PRIVATE into each target.
add_library(zr_common INTERFACE)
target_compile_features(zr_common INTERFACE cxx_std_17)
target_compile_options(zr_common INTERFACE
    $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra>
    $<$<AND:$<COMPILE_LANGUAGE:CXX>,$<CXX_COMPILER_ID:GNU,Clang>>:-Wnon-virtual-dtor -Woverloaded-virtual>)
target_compile_definitions(zr_common INTERFACE
    QT_NO_FOREACH QT_NO_URL_CAST_FROM_STRING QT_DISABLE_DEPRECATED_BEFORE=0x060400)

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
