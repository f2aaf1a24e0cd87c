# Installs the build into a scratch folder under another prefix and checks where the shared
# files land and what the desktop entry says. Run by CTest: cmake -DBUILD=... -DSCRATCH=... -P
cmake_minimum_required(VERSION 3.25)
set(prefix /opt/stripewright-check)
file(REMOVE_RECURSE "${SCRATCH}")
execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${SCRATCH}
                        ${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "install failed: ${result}")
endif()
set(root ${SCRATCH}${prefix})
foreach(file IN ITEMS
    share/stripewright/help/stripewright.chm
    share/doc/stripewright/html/index.htm share/doc/stripewright/html/style.css
    share/icons/hicolor/scalable/apps/stripewright.svg
    share/applications/stripewright.desktop
    share/metainfo/example.stripewright.Stripewright.metainfo.xml
    share/stripewright/templates/lt167.rtf share/stripewright/templates/lt570.rtf
    share/stripewright/templates/lt060.rtf share/stripewright/templates/lt161.rtf
    share/stripewright/templates/lt162.rtf share/stripewright/templates/lt197.rtf
    share/stripewright/templates/lt163.rtf share/stripewright/templates/lt164.rtf)
  if(NOT EXISTS ${root}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
if(EXISTS ${root}/share/stripewright/templates/custom.rtf)
  message(FATAL_ERROR "a custom template must never be installed")
endif()
file(STRINGS ${root}/share/applications/stripewright.desktop entry)
set(exec "Exec=sh -c \"'${prefix}/bin/stripewright-setup' --quiet; exec '${prefix}/bin/stripewright'\"")
foreach(line IN ITEMS "${exec}" "Path=${prefix}/share/stripewright/help"
                      "Icon=stripewright" "Type=Application")
  if(NOT line IN_LIST entry)
    message(FATAL_ERROR "desktop entry lacks ${line}: ${entry}")
  endif()
endforeach()
file(REMOVE_RECURSE "${SCRATCH}")
