# Control libraries and the programs that host them.
#
# A control library is a shared object loaded by dlopen. It links none of the
# platform's static libraries: it uses the host's copy of the window system
# and forms runtime, so that its controls are windows and controls of the
# host. A host therefore carries all of the platform's code and exports it.

# The platform's static libraries a control library may call into.
set(TAVRINEL_CONTROL_PLATFORM win forms shell com CACHE INTERNAL "")

# The identity of this build of the platform. A library uses the host's copy
# of the platform's code, so it works only in a host of the same build: the
# host refuses a library that carries another build's identity before it
# loads it (a library of another build tree, a sanitizer build say, would
# take the host down). Made once per build tree and kept.
if(NOT TAVRINEL_BUILD_IDENTITY)
  string(RANDOM LENGTH 32 ALPHABET 0123456789abcdef salt)
  string(TIMESTAMP now "%Y%m%d%H%M%S" UTC)
  string(SHA256 identity "${CMAKE_BINARY_DIR}|${now}|${salt}")
  string(SUBSTRING "${identity}" 0 32 identity)
  set(TAVRINEL_BUILD_IDENTITY "${identity}" CACHE INTERNAL "The platform build's identity")
endif()
set(TAVRINEL_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated CACHE INTERNAL "")
configure_file(${CMAKE_CURRENT_LIST_DIR}/build_identity.h.in
               ${TAVRINEL_GENERATED_DIR}/com/build_identity.h @ONLY)

# tavrinel_control_host(target): lets an executable load control libraries.
function(tavrinel_control_host target)
  set_target_properties(${target} PROPERTIES ENABLE_EXPORTS ON)
  target_link_libraries(${target} PRIVATE ${TAVRINEL_CONTROL_PLATFORM})
  set(archives)
  foreach(lib ${TAVRINEL_CONTROL_PLATFORM})
    list(APPEND archives $<TARGET_FILE:${lib}>)
  endforeach()
  # Every object of the platform, used by the host or not, for the library.
  target_link_options(${target} PRIVATE "LINKER:--whole-archive" ${archives}
                      "LINKER:--no-whole-archive")
endfunction()

# tavrinel_control_library(target SOURCES ... [OUTPUT_NAME name] [REGISTER])
# Builds <name>.ocx into the program folder; with REGISTER the build
# registers it for the user who builds, so that the programs find it at once.
function(tavrinel_control_library target)
  cmake_parse_arguments(ARG "REGISTER" "OUTPUT_NAME;OUTPUT_DIRECTORY" "SOURCES" ${ARGN})
  add_library(${target} MODULE ${ARG_SOURCES})
  if(NOT ARG_OUTPUT_NAME)
    set(ARG_OUTPUT_NAME ${target})
  endif()
  # Every library carries the identity of the build it was made for.
  target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/platform/com/src/library_stamp.cpp)
  set_target_properties(${target} PROPERTIES PREFIX "" SUFFIX ".ocx" OUTPUT_NAME ${ARG_OUTPUT_NAME})
  if(ARG_OUTPUT_DIRECTORY)
    set_target_properties(${target} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${ARG_OUTPUT_DIRECTORY})
  endif()
  foreach(lib ${TAVRINEL_CONTROL_PLATFORM} settings_store dao base)
    target_include_directories(${target} PRIVATE $<TARGET_PROPERTY:${lib},INTERFACE_INCLUDE_DIRECTORIES>)
    add_dependencies(${target} ${lib})
  endforeach()
  target_link_libraries(${target} PRIVATE Qt6::Widgets)
  tavrinel_warnings(${target})
  if(ARG_REGISTER)
    set(register $<TARGET_FILE:regcontrol> $<TARGET_FILE:${target}>)
    if(TAVRINEL_REGISTRY_HOME)
      set(register ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${TAVRINEL_REGISTRY_HOME} ${register})
    endif()
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${register}
      COMMENT "Registering the control library ${ARG_OUTPUT_NAME}.ocx")
    add_dependencies(${target} regcontrol)
  endif()
endfunction()
