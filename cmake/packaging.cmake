# What `cmake --install` puts where, and the package CPack builds from it:
# on Linux a Debian package, for Windows a zip with the program and a short
# Italian README.
if(WIN32)
  install(TARGETS nerbo RUNTIME DESTINATION .)
  # With the version filled in, and carriage returns: Notepad before Windows
  # 10 1809 shows a file without them as one line.
  configure_file(${PROJECT_SOURCE_DIR}/packaging/LEGGIMI.txt ${CMAKE_BINARY_DIR}/LEGGIMI.txt
                 @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${CMAKE_BINARY_DIR}/LEGGIMI.txt DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(NERBO_ZIP_NAME nerbo-${PROJECT_VERSION}-win32)
  else()
    set(NERBO_ZIP_NAME nerbo-${PROJECT_VERSION}-win64)
  endif()
  set(CPACK_PACKAGE_FILE_NAME ${NERBO_ZIP_NAME})
else()
  # Debian's layout: the manual page (its version filled in) and the
  # changelog compressed, and the copyright beside the README.
  set(doc_dir share/doc/nerbo)
  configure_file(${PROJECT_SOURCE_DIR}/docs/nerbo.1 ${CMAKE_BINARY_DIR}/nerbo.1 @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog ${CMAKE_BINARY_DIR}/changelog COPYONLY)
  foreach(name nerbo.1 changelog)
    execute_process(COMMAND gzip -9nc ${CMAKE_BINARY_DIR}/${name} OUTPUT_FILE ${CMAKE_BINARY_DIR}/${name}.gz
                    COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
  install(TARGETS nerbo RUNTIME DESTINATION bin)
  install(FILES ${CMAKE_BINARY_DIR}/nerbo.1.gz DESTINATION share/man/man1)
  install(FILES README.md packaging/copyright ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${doc_dir})
  install(FILES packaging/lintian-overrides DESTINATION share/lintian/overrides RENAME nerbo)

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Brandovelkian <brandovelkian@vesk.example>")
  set(CPACK_DEBIAN_PACKAGE_SECTION devel)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # The libraries it needs, as dpkg-shlibdeps names their packages (none for
  # a static program); the kit it works beside, and the desktop's launchers.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "default-jdk | java-sdk")
  set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libglib2.0-bin, xdg-utils")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  set(CPACK_STRIP_FILES ON)
endif()

set(CPACK_PACKAGE_NAME nerbo)
set(CPACK_PACKAGE_VENDOR Vesk)
set(CPACK_PACKAGE_CONTACT "Brandovelkian <brandovelkian@vesk.example>")
set(CPACK_PACKAGE_HOMEPAGE_URL "http://www.vesk.example/nerbo")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "run and compile Java programs with a double click")
set(CPACK_PACKAGE_DESCRIPTION "Installed once into a Java kit's bin directory, nerbo becomes the handler
of .class and .java files: a double click runs a class file with the kit's
java from the root of its package tree, or compiles a source with javac and
runs it. File-manager menus offer running with arguments, compiling only
and editing.")
set(CPACK_PACKAGE_CHECKSUM SHA256)
include(CPack)
