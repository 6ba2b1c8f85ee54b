# Copies the demo sample files into the demo program folder. A file that is
# already there is left alone, so that work done in the demo folder (a saved
# translation, the settings of the last session) survives a rebuild.
file(GLOB_RECURSE files RELATIVE ${SRC} ${SRC}/*)
foreach(f ${files})
  if(NOT EXISTS ${DST}/${f})
    configure_file(${SRC}/${f} ${DST}/${f} COPYONLY)
  endif()
endforeach()
