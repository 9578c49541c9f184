# Fails the product's build when its link map (MAP) shows any of the C++ runtime's exception
# support linked: libstdc++'s throw hooks (functexcept.o) or exception objects (eh_*.o), the
# unwinder (libgcc_eh, unwind*.o) or __cxa_throw. The product is built to need none of it
# (app/RuntimeHooks.cpp). Removes the exe (EXE) then, so that the next build links and checks again.
#   cmake -DMAP=<file.map> -DEXE=<file.exe> -P CheckNoExceptionSupport.cmake
file(READ "${MAP}" map)
# The map's first part names each archive member linked (at the start of a line), then, on the
# same or the next line, the object and the symbol that needed it.
string(FIND "${map}" "\nDiscarded input sections" end)
string(SUBSTRING "${map}" 0 ${end} members)
string(REGEX MATCHALL "\n[^ \n][^\n]*(\n [^\n]*)?" entries "${members}")
set(forbidden "(libstdc\\+\\+|libsupc\\+\\+)\\.a\\((functexcept|eh_[a-z_]+)\\.o\\)$"
              "|libgcc_eh\\.a\\(|\\(unwind[^)]*\\.o\\)$")
string(JOIN "" forbidden ${forbidden})
set(found "")
foreach(entry IN LISTS entries)
  string(REGEX MATCH "[^ \n]+" member "${entry}")
  if(member MATCHES "${forbidden}" OR entry MATCHES "[(]_*__cxa_throw[)]")
    string(REGEX REPLACE "[^ \n]*/" "" entry "${entry}")
    string(REGEX REPLACE "[ \n]+" " " entry "${entry}")
    string(APPEND found "\n ${entry}")
  endif()
endforeach()
if(found)
  file(REMOVE "${EXE}")
  message(FATAL_ERROR "The C++ runtime's exception support was linked into ${EXE}, which must not "
                      "need it (the exe is removed). Alias the throw hook that the first line "
                      "names to TorvanThrowHook in app/CMakeLists.txt, or stop calling what needs "
                      "it. Linked, and what needed it (${MAP}):${found}")
endif()
