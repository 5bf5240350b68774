# Debian's hardening flags, as `DEB_BUILD_MAINT_OPTIONS=hardening=+all
# dpkg-buildflags` gives them: stack protector, fortified functions, format
# checks, read-only relocations and immediate binding; executables are
# position-independent. Optimisation and debug flags stay the build type's.
# Included for every build but the sanitized one, so the tests run what the
# package ships.
find_program(TOVASK_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT TOVASK_DPKG_BUILDFLAGS)
  message(STATUS "dpkg-buildflags not found: building without Debian's hardening flags")
  return()
endif()

# tovask_buildflags(NAME OUT): the flag list NAME without -g, -O and path maps.
function(tovask_buildflags name out)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
      ${TOVASK_DPKG_BUILDFLAGS} --get ${name}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  list(FILTER flags EXCLUDE REGEX "^-(g|O.*|f[a-z]*-prefix-map=.*)$")
  set(${out} ${flags} PARENT_SCOPE)
endfunction()

tovask_buildflags(CPPFLAGS cppflags)
tovask_buildflags(CXXFLAGS cxxflags)
tovask_buildflags(LDFLAGS ldflags)
# Debian's newer dpkg (1.22) adds stack clash and control-flow protection
# to hardening=+all on amd64, and hardening-check asks for both; bookworm's
# dpkg does not give them yet.
include(CheckCXXCompilerFlag)
foreach(flag -fstack-clash-protection -fcf-protection)
  string(MAKE_C_IDENTIFIER "TOVASK_HAS${flag}" supported)
  check_cxx_compiler_flag(${flag} ${supported})
  if(${supported} AND NOT flag IN_LIST cxxflags)
    list(APPEND cxxflags ${flag})
  endif()
endforeach()
# Fortified functions need an optimising build; glibc warns otherwise, and
# warnings are errors here.
add_compile_options(${cxxflags} "$<$<NOT:$<CONFIG:Debug>>:${cppflags}>")
add_link_options(${ldflags})
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported()
message(STATUS "Hardening: ${cppflags} ${cxxflags} ${ldflags}")
