# Shared build settings and helpers for every folder.

if(BRONTEL_WIN32)
  add_compile_definitions(UNICODE _UNICODE WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0600
                          NOMINMAX STRSAFE_NO_DEPRECATE)
  add_compile_options(-Wall -Wextra -Wno-unused-parameter -Wno-missing-field-initializers
                      -Wno-cast-function-type)
  # No runtime DLLs next to the product: libgcc and libstdc++ are linked in.
  add_link_options(-static -static-libgcc -static-libstdc++)
else()
  add_compile_options(-Wall -Wextra -Wno-unused-parameter)
  if(BRONTEL_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
  endif()
endif()

# brontel_export_folder(<target> [FOLDER <dir>])
# Makes the headers of one source folder (default: the current one) visible
# to the target and to what links it, and no other folder: the build tree
# gets include/<target>/<dir> -> the source folder, and include/<target> is
# the target's public include directory. Includes stay root-relative
# ("tv/channel_lists.h"), and a folder that includes a header of a folder it
# does not link fails to build.
function(brontel_export_folder target)
  cmake_parse_arguments(ARG "" "FOLDER" "" ${ARGN})
  if(ARG_FOLDER)
    set(folder ${ARG_FOLDER})
  else()
    file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()

# brontel_core_library(<name> SOURCES ... [DEPS ...])
# A portable library: no <windows.h>, built by both toolchains. It exports
# its own folder only.
function(brontel_core_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  brontel_export_folder(${name})
  if(ARG_DEPS)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  endif()
endfunction()

# brontel_add_gtest(<name> SOURCES ... [LIBS ...] [TIMEOUT <seconds>])
# A GoogleTest executable whose cases are discovered when ctest runs, so that
# the Wine build does not run Wine at build time.
function(brontel_add_gtest name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} gtest gtest_main)
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT ${ARG_TIMEOUT})
endfunction()

# brontel_add_test_dirs(<dir>...): add each <dir> that has a CMakeLists.txt.
function(brontel_add_test_dirs)
  foreach(dir ${ARGN})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()
