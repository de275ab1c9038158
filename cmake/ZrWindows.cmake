# Windows build steps: the driver DLLs' import libraries, the version
# resource, and where the DLLs a MinGW build's programs load come from.

# The .def files of the two driver DLLs: the ordinals the panel imports and
# the stand-ins export, by ordinal alone.
set(ZR_ZR6200_DEF "${CMAKE_CURRENT_LIST_DIR}/../drivers/windows/zr6200_64.def")
set(ZR_ZR7480_DEF "${CMAKE_CURRENT_LIST_DIR}/../drivers/windows/zr7480_64.def")
cmake_path(NORMAL_PATH ZR_ZR6200_DEF)
cmake_path(NORMAL_PATH ZR_ZR7480_DEF)

# zr_import_library(<target> <def file>): an interface target that links the
# import library made at build time from <def file>, so that only the DLL
# itself is needed from its vendor. MSVC: lib /def; MinGW: dlltool.
function(zr_import_library target def)
    if(NOT CMAKE_SIZEOF_VOID_P EQUAL 8)
        message(FATAL_ERROR "The driver DLLs are 64-bit: configure a 64-bit (x64) build")
    endif()
    get_filename_component(name "${def}" NAME_WE)
    set(dir "${CMAKE_CURRENT_BINARY_DIR}/import")
    if(MSVC)
        set(lib "${dir}/${name}.lib")
        cmake_path(NATIVE_PATH def native_def)
        cmake_path(NATIVE_PATH lib native_lib)
        set(command "${CMAKE_AR}" /nologo "/def:${native_def}" /machine:x64 "/out:${native_lib}")
    elseif(MINGW)
        set(lib "${dir}/lib${name}.a")
        set(command "${CMAKE_DLLTOOL}" -m i386:x86-64 -d "${def}" -l "${lib}")
    else()
        message(FATAL_ERROR "No import library tool known for ${CMAKE_C_COMPILER_ID} on ${CMAKE_SYSTEM_NAME}")
    endif()
    add_custom_command(OUTPUT "${lib}"
        COMMAND "${CMAKE_COMMAND}" -E make_directory "${dir}"
        COMMAND ${command}
        DEPENDS "${def}"
        COMMENT "Making the import library of ${name}.dll"
        VERBATIM)
    add_custom_target(${target}_importlib DEPENDS "${lib}")
    add_library(${target} INTERFACE)
    add_dependencies(${target} ${target}_importlib)
    target_link_libraries(${target} INTERFACE "${lib}")
endfunction()

# zr_version_resource(<target>): the executable's version resource, with the
# current project's version and description.
function(zr_version_resource target)
    set(rc "${CMAKE_CURRENT_BINARY_DIR}/zr7480sfp.rc")
    configure_file("${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../packaging/zr7480sfp.rc.in" "${rc}" @ONLY)
    target_sources(${target} PRIVATE "${rc}")
endfunction()

# With MinGW, ZR_MINGW_RUNTIME: the compiler's runtime DLLs the programs load
# (C++ library, unwinder, POSIX threads), which the package carries
# (packaging/); ZR_WINDOWS_DLL_DIRS: their folders and Qt's, where the tests
# find the DLLs under Wine (tests/).
if(MINGW)
    set(ZR_MINGW_RUNTIME "")
    set(ZR_WINDOWS_DLL_DIRS "$<TARGET_FILE_DIR:Qt6::Core>")
    foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
        execute_process(COMMAND "${CMAKE_CXX_COMPILER}" -print-file-name=${dll}
                        OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(NOT IS_ABSOLUTE "${path}")
            message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not know where ${dll} is")
        endif()
        file(REAL_PATH "${path}" path)
        list(APPEND ZR_MINGW_RUNTIME "${path}")
        get_filename_component(dir "${path}" DIRECTORY)
        list(APPEND ZR_WINDOWS_DLL_DIRS "${dir}")
    endforeach()
    list(REMOVE_DUPLICATES ZR_WINDOWS_DLL_DIRS)
endif()
