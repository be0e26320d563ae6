# Writes a small EPUB 3 folder the host has never seen (laid out unlike the samples: package
# under content/, navigation in its own folder, a file name with a space) into a new folder
# under WORK, runs lectoro-host on it with --search, checks what it printed and removes it.
# -DHOST=<program> -DWORK=<folder>
string(RANDOM LENGTH 12 suffix)
set(book "${WORK}/fresh-epub-${suffix}")
file(REMOVE_RECURSE "${book}")
file(WRITE "${book}/mimetype" "application/epub+zip")
file(WRITE "${book}/META-INF/container.xml" [=[<?xml version="1.0"?>
<container version="1.0" xmlns="urn:oasis:names:tc:opendocument:xmlns:container">
  <rootfiles><rootfile full-path="content/package.opf" media-type="application/oebps-package+xml"/></rootfiles>
</container>]=])
file(WRITE "${book}/content/package.opf" [=[<?xml version="1.0" encoding="UTF-8"?>
<package xmlns="http://www.idpf.org/2007/opf" version="3.0" unique-identifier="uid">
  <metadata xmlns:dc="http://purl.org/dc/elements/1.1/">
    <dc:identifier id="uid">urn:uuid:host-fresh-0001</dc:identifier>
    <dc:title>Field Notes on Lichens</dc:title>
    <dc:language>en</dc:language>
  </metadata>
  <manifest>
    <item id="nav" href="nav/toc.xhtml" media-type="application/xhtml+xml" properties="nav"/>
    <item id="a" href="text/bark%20and%20stone.xhtml" media-type="application/xhtml+xml"/>
    <item id="b" href="text/colours.xhtml" media-type="application/xhtml+xml"/>
  </manifest>
  <spine><itemref idref="a"/><itemref idref="b"/></spine>
</package>]=])
file(WRITE "${book}/content/nav/toc.xhtml" [=[<?xml version="1.0" encoding="UTF-8"?>
<html xmlns="http://www.w3.org/1999/xhtml" xmlns:epub="http://www.idpf.org/2007/ops"><body>
  <nav epub:type="toc"><ol>
    <li><a href="../text/bark%20and%20stone.xhtml">Bark and Stone</a></li>
    <li><a href="../text/colours.xhtml">Colours</a></li>
  </ol></nav>
  <nav epub:type="page-list"><ol>
    <li><a href="../text/bark%20and%20stone.xhtml#p1">1</a></li>
    <li><a href="../text/colours.xhtml#p2">2</a></li>
  </ol></nav>
</body></html>]=])
file(WRITE "${book}/content/text/bark and stone.xhtml" [=[<?xml version="1.0" encoding="UTF-8"?>
<html xmlns="http://www.w3.org/1999/xhtml"><body>
<h1 id="p1">Bark and Stone</h1><p>Lichens grow slowly on bark and on bare stone.</p>
</body></html>]=])
file(WRITE "${book}/content/text/colours.xhtml" [=[<?xml version="1.0" encoding="UTF-8"?>
<html xmlns="http://www.w3.org/1999/xhtml"><body>
<h1 id="p2">Colours</h1><p>Some lichens are orange, some grey; a lichen is two lives in one.</p>
</body></html>]=])

execute_process(COMMAND ${HOST} --book ${book} --search lichen
  RESULT_VARIABLE code
  OUTPUT_VARIABLE output
  ERROR_VARIABLE errors)
file(REMOVE_RECURSE "${book}")
message("${output}${errors}")
if(NOT "${code}" STREQUAL "0")
  message(FATAL_ERROR "lectoro-host exited with '${code}' on a fresh EPUB folder")
endif()
foreach(expected
    "Title: Field Notes on Lichens"
    "Kind: EPUB, reflowable"
    "Chapters \\(2\\)"
    "text/bark and stone.xhtml \"Bark and Stone\""
    "Pages \\(2\\)"
    "book loaded"
    "Search \"lichen\": 3 hit")
  if(NOT output MATCHES "${expected}")
    message(FATAL_ERROR "lectoro-host output lacks '${expected}'")
  endif()
endforeach()
