# Installation under a prefix (/usr in the Debian package) and the Debian
# package itself: `cpack -G DEB` in the build folder writes
# tovrana_<version>_<arch>.deb there.
include(GNUInstallDirs)

set(TOVRANA_MAINTAINER "Orbika <tovrana@orbika.example>")
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(programs)
foreach(program tovrana tovrana-cli)
  if(TARGET ${program})
    list(APPEND programs ${program})
  endif()
endforeach()
install(TARGETS ${programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(TARGET tovrana)
  install(FILES packaging/tovrana.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES packaging/tovrana.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  # Copied into each user's program folder on the first start.
  install(DIRECTORY demo/ DESTINATION ${CMAKE_INSTALL_DATADIR}/tovrana/demo)
endif()

# The manual pages, with the version of the project.
set(doc_dir ${CMAKE_BINARY_DIR}/doc)
find_program(GZIP gzip REQUIRED)
set(compressed)
foreach(program ${programs})
  configure_file(packaging/${program}.1.in ${doc_dir}/${program}.1 @ONLY)
  list(APPEND compressed ${program}.1)
  install(FILES ${doc_dir}/${program}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

# The copyright and the changelog Debian expects of every package.
configure_file(packaging/changelog.in ${doc_dir}/changelog @ONLY)
list(APPEND compressed changelog)
install(FILES ${doc_dir}/changelog.gz packaging/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tovrana)

# Compressed as Debian wants them: the best compression, no name or time inside.
set(gz_files)
foreach(name ${compressed})
  add_custom_command(OUTPUT ${doc_dir}/${name}.gz
    COMMAND ${GZIP} -9nkf ${doc_dir}/${name}
    DEPENDS ${doc_dir}/${name}
    VERBATIM)
  list(APPEND gz_files ${doc_dir}/${name}.gz)
endforeach()
add_custom_target(package_docs ALL DEPENDS ${gz_files})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tovrana)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Orbika)
set(CPACK_PACKAGE_CONTACT ${TOVRANA_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "translation tool for product texts")
set(CPACK_PACKAGE_DESCRIPTION
"Tovrana translates the texts of a family of products: resource-string files
(.drc), firmware display-text file sets, a menu INI file with one section per
language, and C files whose string arrays hold every language. The base text
and its translation are shown side by side in a grid that marks missing,
changed and too long texts, and the translation is saved back in the base's
format, byte for byte, with a dated backup.

The package holds the window program tovrana, the command-line tool
tovrana-cli for build pipelines, and sample files that each user's program
folder gets on the first start.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
