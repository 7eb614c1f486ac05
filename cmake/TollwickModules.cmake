# One static library per folder of src/, linking only the modules below it:
#   platform <- text <- ui <- {charging, bill, alarms} <- call <- core <- options <- app
#                                        bill <- graphs <- options
# A module can use only modules declared before it, so the module graph cannot hold a cycle, and a
# build step checks every #include of a module's files against the modules it uses (see
# check_includes.cmake), so an upward include fails the build rather than linking by luck.

set(TOLLWICK_MODULES "")
set(TOLLWICK_INCLUDE_CHECK ${CMAKE_CURRENT_LIST_DIR}/check_includes.cmake)

# tollwick_module(<name> [USES <module>...] [WIN32_LIBS <system library>...] [EXCLUDE <file>...])
# Builds src/<name>/*.cpp, and in a Windows build src/<name>/win32/*.cpp too, as tollwick_<name>.
function(tollwick_module name)
  cmake_parse_arguments(ARG "" "" "USES;WIN32_LIBS;EXCLUDE" ${ARGN})
  set(allowed ${name} resources)
  foreach(used ${ARG_USES})
    if(NOT used IN_LIST TOLLWICK_MODULES)
      message(FATAL_ERROR "Module ${name} uses ${used}, which is not declared before it")
    endif()
    list(APPEND allowed ${used} ${TOLLWICK_MODULE_${used}_REACHES})
  endforeach()
  list(REMOVE_DUPLICATES allowed)

  set(dir ${CMAKE_SOURCE_DIR}/src/${name})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  file(GLOB checked CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h ${dir}/win32/*.cpp ${dir}/win32/*.h)
  if(WIN32)
    file(GLOB win32_sources CONFIGURE_DEPENDS ${dir}/win32/*.cpp)
    list(APPEND sources ${win32_sources})
  endif()
  foreach(excluded ${ARG_EXCLUDE})
    list(REMOVE_ITEM sources ${dir}/${excluded})
  endforeach()

  set(target tollwick_${name})
  string(REPLACE ";" "," allowed_arg "${allowed}")
  string(REPLACE ";" "," files_arg "${checked}")
  set(stamp ${CMAKE_BINARY_DIR}/include-check/${name}.stamp)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DMODULE=${name} -DALLOWED=${allowed_arg} -DFILES=${files_arg}
            -DSTAMP=${stamp} -P ${TOLLWICK_INCLUDE_CHECK}
    DEPENDS ${checked} ${TOLLWICK_INCLUDE_CHECK}
    COMMENT "Checking the includes of module ${name}")

  if(NOT sources)
    # A module of Win32 code only has nothing to build natively; its includes are checked all the
    # same, and those above can still link it.
    add_custom_target(${target}_includes ALL DEPENDS ${stamp})
    add_library(${target} INTERFACE)
    foreach(used ${ARG_USES})
      target_link_libraries(${target} INTERFACE tollwick_${used})
    endforeach()
  else()
    add_custom_target(${target}_includes DEPENDS ${stamp})
    add_library(${target} STATIC ${sources})
    add_dependencies(${target} ${target}_includes)
    target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    foreach(used ${ARG_USES})
      target_link_libraries(${target} PUBLIC tollwick_${used})
    endforeach()
    if(WIN32)
      target_compile_definitions(${target} PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX)
      target_link_libraries(${target} PUBLIC ${ARG_WIN32_LIBS})
    endif()
  endif()

  set(TOLLWICK_MODULE_${name}_REACHES ${allowed} PARENT_SCOPE)
  set(TOLLWICK_MODULES ${TOLLWICK_MODULES} ${name} PARENT_SCOPE)
endfunction()
