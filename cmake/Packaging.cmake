# A Debian package of what `cmake --install` installs: `./dev package` builds
# it in build-package/ (Release, installed under /usr).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME fennick)
set(CPACK_PACKAGE_VENDOR "the fennick developers")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://github.com/fennick/fennick")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "personal time clock for the desktop")
set(CPACK_PACKAGE_DESCRIPTION "\
Press Check In when work starts and Check Out when it stops: each press
appends one line to a plain-text log file of its month. fennick notices a
forgotten punch and asks for its time, and shows the month's log, the
working time of each day and of each month, and prints them.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)

set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(FENNICK_DEB_MAINTAINER "the fennick developers <fennick@users.noreply.github.com>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${FENNICK_DEB_MAINTAINER})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from dpkg-shlibdeps. Qt loads its platform plugins at run
# time, so no library link names them: Debian 12 ships the xcb plugin inside
# libqt6gui6, and the rest in qt6-qpa-plugins, which libqt6gui6 only
# recommends. Depending on it keeps the plugin set the same whether or not
# recommends are installed.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Qt's own dialogs in the user's language, and a native Wayland window.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, qt6-wayland")

# What Debian asks of a package beside the program: the copyright in its
# machine-readable form, the changelog and the manual page, compressed
# without a time stamp so that two builds give the same bytes.
set(FENNICK_DEBIAN_DIR ${PROJECT_SOURCE_DIR}/resources/debian)
foreach(doc changelog.Debian fennick.1)
  set(source ${FENNICK_DEBIAN_DIR}/changelog)
  if(doc STREQUAL fennick.1)
    set(source ${PROJECT_SOURCE_DIR}/resources/fennick.1)
  endif()
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${doc}.gz
    COMMAND gzip -9nc ${source} > ${CMAKE_BINARY_DIR}/${doc}.gz
    DEPENDS ${source})
  list(APPEND FENNICK_COMPRESSED_DOCS ${CMAKE_BINARY_DIR}/${doc}.gz)
endforeach()
add_custom_target(fennick_docs ALL DEPENDS ${FENNICK_COMPRESSED_DOCS})
install(FILES ${FENNICK_DEBIAN_DIR}/copyright ${CMAKE_BINARY_DIR}/changelog.Debian.gz
  DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${CMAKE_BINARY_DIR}/fennick.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${FENNICK_DEBIAN_DIR}/lintian-overrides
  DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME fennick)

# A stripped install (CPack strips) also drops the compiler's .comment notes,
# from the program and from its window module.
if(TARGET fennick)
  foreach(file ${CMAKE_INSTALL_BINDIR}/fennick
               ${CMAKE_INSTALL_LIBDIR}/fennick/$<TARGET_FILE_NAME:fennick_window>)
    install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND ${CMAKE_OBJCOPY} --remove-section=.comment
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${file}\"
        COMMAND_ERROR_IS_FATAL ANY)
    endif()")
  endforeach()
endif()

include(CPack)
