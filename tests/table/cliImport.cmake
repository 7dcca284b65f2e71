# zelkora-cli import end to end: appending to a table file, starting a missing one, and a
# failing paste that must leave the file untouched.
# Run with -DCLI=<zelkora-cli> -DWORK=<scratch folder>.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(table ${WORK}/t.points)

# The file's bytes as hex: file(READ) alone would turn CR LF into LF.
function(read_hex path out)
    file(READ ${path} hex HEX)
    set(${out} ${hex} PARENT_SCOPE)
endfunction()

function(expect_equal what actual expected)
    if(NOT "${actual}" STREQUAL "${expected}")
        message(FATAL_ERROR "${what}: got [${actual}], expected [${expected}]")
    endif()
endfunction()

# Three columns of four rows; column 1 already holds a point in row 1.
file(WRITE ${table} "3\n4\nA\n\n\n\nB\n1, 2\n\n\nC\n\n\n\n")
file(WRITE ${WORK}/lines.txt " (53°56'27\"N 158°01'31\"E)\r\nno point\r43 146\n9 9")
execute_process(COMMAND ${CLI} import --table ${table} --column 1 --from ${WORK}/lines.txt
                RESULT_VARIABLE rc ERROR_VARIABLE err)
expect_equal("import exit code (${err})" "${rc}" "0")
read_hex(${table} content)
# The fourth point finds the column full and grows the table by a row.
string(HEX "3\r\n5\r\nA\r\n\r\n\r\n\r\n\r\nB\r\n1, 2\r\n53.940833, 158.025278\r\n43.000000, 146.000000\r\n9.000000, 9.000000\r\nC\r\n\r\n\r\n\r\n\r\n" expected)
expect_equal("table file after the import" "${content}" "${expected}")

file(WRITE ${WORK}/bad.txt "1 2\n1.2.3 4\n5 6\n")
execute_process(COMMAND ${CLI} import --table ${table} --column 0 --from ${WORK}/bad.txt
                RESULT_VARIABLE rc ERROR_VARIABLE err)
expect_equal("failing import exit code" "${rc}" "1")
expect_equal("failing import message" "${err}" "'1.2.3' is not a valid floating point value\n")
read_hex(${table} after)
expect_equal("table file after a failed import" "${after}" "${content}")

execute_process(COMMAND ${CLI} import --table ${WORK}/new.points --column 8 --from ${WORK}/bad.txt
                RESULT_VARIABLE rc)
expect_equal("failing import into a new file" "${rc}" "1")
if(EXISTS ${WORK}/new.points)
    message(FATAL_ERROR "a failed import created its table file")
endif()
execute_process(COMMAND ${CLI} import --table ${WORK}/new.points --column 8 --from ${WORK}/lines.txt
                RESULT_VARIABLE rc)
expect_equal("import into a new file" "${rc}" "0")
read_hex(${WORK}/new.points created)
string(SUBSTRING "${created}" 0 14 counts)
expect_equal("counts of the new default table" "${counts}" "390d0a37300d0a")
