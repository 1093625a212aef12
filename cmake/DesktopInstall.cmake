# Installing Tarvel as a desktop program (cmake --install, GNUInstallDirs) and
# packaging it as a Debian package (CPack, `make package`).
#
# The id names the desktop entry, the icon and the AppStream metadata. The
# project owns no domain yet, so it lives under example.org, the domain its
# contact address already uses and one that nobody else can own.
if(NOT TARVEL_BUILD_GUI)
  return()
endif()

include(GNUInstallDirs)

set(TARVEL_DESKTOP_ID org.example.Tarvel)
set(TARVEL_HOMEPAGE https://example.org/tarvel)
set(TARVEL_CONTACT "The Tarvel project <tarvel@example.org>")

# The program's identity in Qt and its icon, compiled in so that a window
# shows it wherever the program was started from.
target_sources(tarvel_qt PRIVATE ui/qt/app_identity.cpp)
target_compile_definitions(tarvel_qt PRIVATE
  TARVEL_VERSION="${PROJECT_VERSION}" TARVEL_DESKTOP_ID="${TARVEL_DESKTOP_ID}")
qt_add_resources(tarvel_qt tarvel_icons
  PREFIX /icons
  BASE dist/icons
  FILES dist/icons/tarvel-48.png dist/icons/tarvel-256.png)

# Everything the program needs goes into one component, so that a check can
# install exactly this into a scratch directory.
install(TARGETS tarvel
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT tarvel
  BUNDLE DESTINATION . COMPONENT tarvel)
install(FILES dist/copyright
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/tarvel COMPONENT tarvel)

# The lessons, study files the program finds beside itself: installed under
# share/tarvel/lessons, and copied to the same place in the build tree so
# that the program built there finds them too.
set(TARVEL_LESSONS
  lessons/01-runge.tarvel
  lessons/02-chebyshev.tarvel
  lessons/03-noise.tarvel
  lessons/04-spline-ends.tarvel
  lessons/05-shape.tarvel
  lessons/06-orders.tarvel
  lessons/07-rational.tarvel
  lessons/08-monomial.tarvel)
set(built_lessons "")
foreach(lesson ${TARVEL_LESSONS})
  get_filename_component(name ${lesson} NAME)
  set(built ${CMAKE_BINARY_DIR}/share/tarvel/lessons/${name})
  add_custom_command(OUTPUT ${built}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/${lesson} ${built}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${lesson} VERBATIM)
  list(APPEND built_lessons ${built})
endforeach()
add_custom_target(tarvel_lessons ALL DEPENDS ${built_lessons})
add_dependencies(tarvel tarvel_lessons)
install(FILES ${TARVEL_LESSONS}
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/tarvel/lessons COMPONENT tarvel)
if(UNIX AND NOT APPLE)
  install(FILES dist/${TARVEL_DESKTOP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications COMPONENT tarvel)
  # Study files (*.tarvel) as a type of their own, which the entry opens.
  install(FILES dist/${TARVEL_DESKTOP_ID}.mime.xml
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/mime/packages
    RENAME ${TARVEL_DESKTOP_ID}.xml COMPONENT tarvel)
  install(FILES dist/${TARVEL_DESKTOP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo COMPONENT tarvel)
  install(FILES dist/icons/tarvel.svg
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps
    RENAME ${TARVEL_DESKTOP_ID}.svg COMPONENT tarvel)
  foreach(size 48 256)
    install(FILES dist/icons/tarvel-${size}.png
      DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps
      RENAME ${TARVEL_DESKTOP_ID}.png COMPONENT tarvel)
  endforeach()
endif()

# tarvel_<version>_<arch>.deb, depending on the packages of the shared
# libraries the program links (dpkg-shlibdeps) and on Qt's platform plugins,
# which Qt loads at run time and which therefore no link reveals.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvel)
set(CPACK_PACKAGE_VENDOR "The Tarvel project")
set(CPACK_PACKAGE_CONTACT "${TARVEL_CONTACT}")
set(CPACK_PACKAGE_HOMEPAGE_URL "${TARVEL_HOMEPAGE}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "interpolation study tool")
set(CPACK_PACKAGE_DESCRIPTION "\
Tarvel samples a test function or loads a small data set on the unit
interval and interpolates it at evenly spaced points by local polynomial
interpolation in Lagrange form, the natural cubic spline or a piecewise
cubic Hermite spline. It lists the given points and the spline
coefficients and draws the function, the given points and the
interpolated points.")
set(CPACK_RESOURCE_FILE_LICENSE "${CMAKE_CURRENT_SOURCE_DIR}/LICENSE")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
include(CPack)

if(TARVEL_BUILD_TESTS)
  add_subdirectory(tests/dist)
endif()
