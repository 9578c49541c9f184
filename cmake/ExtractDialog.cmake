# Writes the bytes of RT_DIALOG 101 from a compiled resource file (RES) to OUT. A .res file is a
# run of entries, each a header (data size, header size, then the type and the name, here both
# ordinals: 0xFFFF and the number) and the data, each padded to 4 bytes.
#   cmake -DRES=<file.res> -DOUT=<file.bin> -P ExtractDialog.cmake
file(READ "${RES}" hex HEX)
string(LENGTH "${hex}" length)
function(u32 at out)  # the little-endian 32-bit value at byte offset `at`
  math(EXPR pos "${at} * 2")
  string(SUBSTRING "${hex}" ${pos} 8 le)
  string(REGEX REPLACE "(..)(..)(..)(..)" "\\4\\3\\2\\1" be "${le}")
  math(EXPR value "0x${be}")
  set(${out} ${value} PARENT_SCOPE)
endfunction()
set(at 0)
while(at LESS length)
  u32(${at} data_size)
  math(EXPR header_at "${at} + 4")
  u32(${header_at} header_size)
  math(EXPR type_at "${at} + 8")
  math(EXPR name_at "${at} + 12")
  u32(${type_at} type)
  u32(${name_at} name)
  if(type EQUAL 0x0005FFFF AND name EQUAL 0x0065FFFF)
    math(EXPR skip "${at} + ${header_size}")
    execute_process(COMMAND dd if=${RES} of=${OUT} bs=1 skip=${skip} count=${data_size} status=none
                    COMMAND_ERROR_IS_FATAL ANY)
    return()
  endif()
  math(EXPR at "${at} + (${header_size} + ${data_size} + 3) / 4 * 4")
endwhile()
message(FATAL_ERROR "${RES} holds no RT_DIALOG 101")
