# Windows build: MinGW-w64 against the real SDK headers and import libraries.
# Everything links statically so that only Windows system DLLs are needed.
enable_language(RC)
add_compile_options(-ffunction-sections -fdata-sections)
target_compile_options(lumetra_product PRIVATE -fno-rtti -fstack-protector-strong)
add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--gc-sections -s)

# The same commit builds the same bytes in any folder at any time: no build
# paths in the binaries, and the time stamps the linker writes taken from
# the commit (SOURCE_DATE_EPOCH, as set, else the commit's time, else a
# fixed one outside a git checkout).
add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=build)
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
else()
    execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                    OUTPUT_VARIABLE SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(NOT SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
        set(SOURCE_DATE_EPOCH 1767225600) # 2026-01-01
    endif()
endif()
set(CMAKE_C_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH})
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_C_LINKER_LAUNCHER})

# Import libraries made from module definitions (names in their 32-bit
# stdcall form). The program's DLLs that Windows does not protect as
# KnownDLLs - ksproxy.ax, cfgmgr32.dll and avicap32.dll - are delay-loaded:
# none is loaded before the program has restricted the search for DLLs to
# the system folder (control/SystemDlls.h).
if(NOT CMAKE_DLLTOOL)
    find_program(CMAKE_DLLTOOL NAMES dlltool REQUIRED)
endif()
# Makes lib<name>_<kind>.a from cmake/imports/<name>.def, or from the .def
# given third; kind is "import" or "delay". Sets <name>_thunks to the
# symbols of the delay-load thunks.
function(import_library name kind)
    set(source ${CMAKE_SOURCE_DIR}/cmake/imports/${name}.def)
    if(ARGC GREATER 2)
        set(source ${ARGV2})
    endif()
    file(READ ${source} definition)
    if(NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
        string(REGEX REPLACE "@[0-9]+" "" definition "${definition}")
    endif()
    file(WRITE ${CMAKE_BINARY_DIR}/imports/${name}.def "${definition}")
    set(library ${CMAKE_BINARY_DIR}/imports/lib${name}_${kind}.a)
    if(kind STREQUAL "delay")
        set(output -y ${library})
    else()
        set(output -l ${library})
    endif()
    add_custom_command(
        OUTPUT ${library}
        COMMAND ${CMAKE_DLLTOOL} --kill-at -d ${CMAKE_BINARY_DIR}/imports/${name}.def ${output}
        DEPENDS ${source}
        COMMENT "Generating the ${kind} library of ${name}")
    add_custom_target(${name}_${kind}_library DEPENDS ${library})
    add_library(${name}_${kind} STATIC IMPORTED GLOBAL)
    set_target_properties(${name}_${kind} PROPERTIES IMPORTED_LOCATION ${library})
    add_dependencies(${name}_${kind} ${name}_${kind}_library)

    string(REGEX MATCHALL "\n[ \t]+[A-Za-z_][A-Za-z0-9_@]*" exports "${definition}")
    set(thunks)
    foreach(export ${exports})
        string(STRIP "${export}" export)
        if(CMAKE_SIZEOF_VOID_P EQUAL 4)
            set(export _${export})
        endif()
        list(APPEND thunks ${export})
    endforeach()
    set(${name}_thunks ${thunks} PARENT_SCOPE)
endfunction()

# A delay-loaded function's slot starts out pointing at its thunk, which
# loads the DLL. The i686 linker takes a thunk that no code calls directly
# for an ordinary import's jump stub and drops it, leaving the slot 0, so
# every thunk is kept explicitly (scripts/test.sh checks the slots).
function(link_delay_loaded target name)
    target_link_libraries(${target} PRIVATE ${name}_delay)
    foreach(thunk ${${name}_thunks})
        target_link_options(${target} PRIVATE -Wl,--undefined=${thunk})
    endforeach()
endfunction()

import_library(ksproxy import) # for the benchmark's baseline, which loads it as usual
set(NOT_KNOWN_DLLS ksproxy cfgmgr32 avicap32)
foreach(dll ${NOT_KNOWN_DLLS})
    import_library(${dll} delay)
endforeach()

# The stack protector's guard comes from cmake/stack_protector.c rather
# than libssp, whose guard set-up loads a cryptographic provider's DLL
# before the program starts.
add_executable(Lumetra WIN32 res/Lumetra.rc cmake/stack_protector.c)
target_include_directories(Lumetra PRIVATE ${CMAKE_SOURCE_DIR}/res ${GENERATED_DIR})
target_link_libraries(Lumetra PRIVATE lumetra_product strmiids ksuser ole32 oleaut32 uuid advapi32)
foreach(dll ${NOT_KNOWN_DLLS})
    link_delay_loaded(Lumetra ${dll})
endforeach()
target_link_libraries(Lumetra PRIVATE delayimp)

# Signing, when a certificate is given: with LUMETRA_SIGN_PFX (a PKCS#12
# file) and LUMETRA_SIGN_PASSWORD set when configuring and when building,
# Lumetra.exe, the uninstaller and the installer are signed (cmake/sign.sh,
# which reads the password as it signs, so that no build file holds it).
if(DEFINED ENV{LUMETRA_SIGN_PFX} AND DEFINED ENV{LUMETRA_SIGN_PASSWORD})
    find_program(OSSLSIGNCODE osslsigncode REQUIRED)
    set(SIGN ${CMAKE_SOURCE_DIR}/cmake/sign.sh)
    set(NSIS_SIGN -DSIGN=${SIGN})
    add_custom_command(TARGET Lumetra POST_BUILD COMMAND ${SIGN} $<TARGET_FILE:Lumetra> VERBATIM)
    message(STATUS "Signing Lumetra.exe, its uninstaller and installer with $ENV{LUMETRA_SIGN_PFX}")
else()
    set(NSIS_SIGN)
    message(STATUS "Building unsigned: set LUMETRA_SIGN_PFX and LUMETRA_SIGN_PASSWORD to sign")
endif()

# The installer: the shipping one from the i686 build; from the x86_64 build,
# a test-only one that installs the x86_64 program, so that the installer
# tests cover both builds.
find_program(MAKENSIS makensis)
if(MAKENSIS)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        set(SETUP ${CMAKE_BINARY_DIR}/Lumetra-${PROJECT_VERSION}-setup.exe)
        set(SETUP_ARCH x86)
    else()
        set(SETUP ${CMAKE_BINARY_DIR}/Lumetra-${PROJECT_VERSION}-setup-x64-test.exe)
        set(SETUP_ARCH x64)
    endif()
    add_custom_command(
        OUTPUT ${SETUP}
        COMMAND ${MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DARCH=${SETUP_ARCH} -DEXE=$<TARGET_FILE:Lumetra> -DOUTFILE=${SETUP}
                ${NSIS_SIGN} ${CMAKE_SOURCE_DIR}/installer/Lumetra.nsi
        DEPENDS Lumetra installer/Lumetra.nsi res/Lumetra.ico
        COMMENT "Building the installer")
    add_custom_target(installer ALL DEPENDS ${SETUP})
endif()

# The tests' own Windows programs, each set beside the tests they serve.
include(tests/imports/imports.cmake)
include(tests/facts/facts.cmake)
include(tests/wine/wine.cmake)
