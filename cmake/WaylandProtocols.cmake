# The Wayland protocols of vintrel --wayland and its tests: client headers and code made from
# each protocol's XML by wayland-scanner at build time. xdg-shell, viewporter and fractional
# scale come with wayland-protocols; the wlroots protocols (layer shell, virtual pointer) from
# wherever a package put them (scripts/install-deps.sh takes them from Debian's
# librust-wayland-protocols-dev, which carries them).
find_package(PkgConfig REQUIRED)
pkg_check_modules(WAYLAND REQUIRED IMPORTED_TARGET wayland-client wayland-egl)
pkg_get_variable(WAYLAND_PROTOCOLS_DIR wayland-protocols pkgdatadir)
find_program(WAYLAND_SCANNER wayland-scanner REQUIRED)
if(NOT WAYLAND_PROTOCOLS_DIR)
    message(FATAL_ERROR "wayland-protocols is missing: run scripts/install-deps.sh")
endif()
set(VINTREL_XDG_SHELL_XML "${WAYLAND_PROTOCOLS_DIR}/stable/xdg-shell/xdg-shell.xml")
set(VINTREL_VIEWPORTER_XML "${WAYLAND_PROTOCOLS_DIR}/stable/viewporter/viewporter.xml")
set(VINTREL_FRACTIONAL_SCALE_XML "${WAYLAND_PROTOCOLS_DIR}/staging/fractional-scale/fractional-scale-v1.xml")
set(wlr_protocol_dirs /usr/share/wlr-protocols /usr/local/share/wlr-protocols)
find_file(VINTREL_LAYER_SHELL_XML wlr-layer-shell-unstable-v1.xml PATHS ${wlr_protocol_dirs} PATH_SUFFIXES unstable
          NO_DEFAULT_PATH REQUIRED)
find_file(VINTREL_VIRTUAL_POINTER_XML wlr-virtual-pointer-unstable-v1.xml PATHS ${wlr_protocol_dirs}
          PATH_SUFFIXES unstable NO_DEFAULT_PATH REQUIRED)

# A static library of the protocols' client code, whose headers its users include by the
# protocol's name ("xdg-shell-client-protocol.h").
function(vintrel_wayland_protocols target)
    set(folder "${CMAKE_CURRENT_BINARY_DIR}/${target}")
    file(MAKE_DIRECTORY "${folder}")
    set(sources "")
    foreach(xml IN LISTS ARGN)
        get_filename_component(name "${xml}" NAME_WE)
        add_custom_command(OUTPUT "${folder}/${name}-client-protocol.h" "${folder}/${name}-protocol.c"
            COMMAND "${WAYLAND_SCANNER}" client-header "${xml}" "${folder}/${name}-client-protocol.h"
            COMMAND "${WAYLAND_SCANNER}" private-code "${xml}" "${folder}/${name}-protocol.c"
            DEPENDS "${xml}" VERBATIM)
        list(APPEND sources "${folder}/${name}-client-protocol.h" "${folder}/${name}-protocol.c")
    endforeach()
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} SYSTEM PUBLIC "${folder}")
    target_link_libraries(${target} PUBLIC PkgConfig::WAYLAND)
endfunction()
