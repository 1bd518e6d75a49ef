# cmake -DDEST=<folder> -DFILES=<list> -P CopyFiles.cmake
# Copies each file that changed; an empty list copies nothing.
foreach(f ${FILES})
  file(COPY ${f} DESTINATION ${DEST})
endforeach()
