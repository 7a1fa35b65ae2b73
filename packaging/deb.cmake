# CPack settings for the Debian package: skyhunt_<version>_<arch>.deb, left in the build
# folder. A native package, so its version is the project's with no Debian revision.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_CONTACT "skyhunt developers <skyhunt@example.org>")

# CPack writes each line as it stands (a blank one becomes " ."), so keep them short.
set(CPACK_PACKAGE_DESCRIPTION [[
Skyhunt is a small real-time 3-D arcade game for one player. You fly a ship
over a wide field of grass, seen from straight above; an enemy ship hunts you,
and its wingman keeps it company.

Shoot them down with straight bullets, which take down the enemy or the
wingman, or with missiles that home on the enemy. Steer and change speed from
the keyboard, pull the fog in or push it back, and switch to wireframe if you
like. There is no score to chase and no lives to lose: just the hunt.

The game draws with OpenGL 1.1 through freeglut.
]])

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# Depends: comes from dpkg-shlibdeps, read off the stripped binary's libraries.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

include(CPack)
