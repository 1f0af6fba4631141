# Writes the page's service worker from its template: the list of the page's files, and a version
# made of their digests. Run by the build: cmake -DDIR=page -DFILES=a,b -DTEMPLATE=file.in -P this
string(REPLACE "," ";" files "${FILES}")
set(digests "")
set(quoted "")
foreach(file IN LISTS files)
  file(SHA256 "${DIR}/${file}" digest)
  string(APPEND digests "${digest}")
  list(APPEND quoted "'./${file}'")
endforeach()
string(SHA256 version "${digests}")
string(SUBSTRING "${version}" 0 16 CARD_PAGE_VERSION)
list(JOIN quoted ", " CARD_PAGE_FILES)
configure_file("${TEMPLATE}" "${DIR}/service_worker.js" @ONLY)
