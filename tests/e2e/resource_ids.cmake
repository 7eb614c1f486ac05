# Writes the numeric ids of the resource headers as shell assignments (IDC_BILL_LIST=1008, ...), so
# that the end-to-end scripts name the controls and commands they drive as the code does.
#   cmake -DDIR=<src/resources> -DOUT=<file> -P resource_ids.cmake
file(GLOB headers ${DIR}/*.h)
list(SORT headers)
set(text "# Written at build time from src/resources/*.h; sourced by tests/e2e/lib.sh.\n")
foreach(header ${headers})
  file(STRINGS ${header} defines REGEX "^#define[ \t]+ID[A-Z0-9_]*[ \t]+[0-9]+")
  foreach(define ${defines})
    string(REGEX REPLACE "^#define[ \t]+(ID[A-Z0-9_]*)[ \t]+([0-9]+).*$" "\\1=\\2" assignment "${define}")
    string(APPEND text "${assignment}\n")
  endforeach()
endforeach()
file(WRITE ${OUT} "${text}")
