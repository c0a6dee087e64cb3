# Settings shared by every Windows module (vor.dll, vormfc.dll, HSDK.dll, the host, the tests).

enable_language(RC)

# Narrow literals are code page 949, the ANSI code page the library runs in.
add_compile_options(-Wall -Wextra -finput-charset=UTF-8 -fexec-charset=CP949)
add_compile_definitions(WINVER=0x0601 _WIN32_WINNT=0x0601 _WIN32_IE=0x0800 STRICT)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")

# Every binary lands in one folder, beside the shared GCC runtime it links.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib)

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    set(VOR_GCC_DLL libgcc_s_dw2-1.dll)
else()
    set(VOR_GCC_DLL libgcc_s_seh-1.dll)
endif()
set(_mingw_triplet ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(VOR_RUNTIME_DLLS
    /usr/lib/gcc/${_mingw_triplet}/12-posix/${VOR_GCC_DLL}
    /usr/lib/gcc/${_mingw_triplet}/12-posix/libstdc++-6.dll
    /usr/${_mingw_triplet}/lib/libwinpthread-1.dll)
file(COPY ${VOR_RUNTIME_DLLS} DESTINATION ${CMAKE_BINARY_DIR}/bin)

# A shared runtime in every module: exceptions cross DLL boundaries (CaException).
add_link_options(-shared-libgcc)
function(vor_windows_module target)
    # Exports are GCC-mangled; keep the DLL's import library beside the others.
    set_target_properties(${target} PROPERTIES PREFIX "" IMPORT_PREFIX "lib")
endfunction()

# Tests run under wine64 with a private prefix in this build tree, as an unprivileged user
# when started by root. When the linux build has a broker, each test process gets a fresh one
# with the sample repository.
set(VOR_BROKER_DIR ${CMAKE_SOURCE_DIR}/build/linux/broker CACHE PATH "Folder of harbroker and harvadm")
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_SOURCE_DIR}/scripts/wine-run --prefix ${CMAKE_BINARY_DIR}/wineprefix
    --broker-dir ${VOR_BROKER_DIR} --tester)
