# The Debian package of the two programs (scripts/package): cpack -G DEB
# writes kv2208_<version>_<arch>.deb. Its runtime dependencies come from
# dpkg-shlibdeps; only what the install() rules name goes in.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kv2208)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Folders as Debian wants them (0755), whatever the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_CONTACT "KV2200-8 tool maintainers <kv2208-tool@brimco.com.br>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "configuration tool of the KV2200-8 MPEG-TS multiplexer
The KV2200-8 multiplexes eight ASI transport streams into one and is
configured over an RS-232 serial line. kv2208-conf is the operator's window
program: services, ghost PIDs and network settings, project files (*.MUX),
'Send Mux' and 'Get'. kv2208-cli is the same core without a window, for
inspecting files, scripting, and a simulated multiplexer.")
include(CPack)
