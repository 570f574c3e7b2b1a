# Checks abc-workbench's command line from outside.
#   cmake -DPROGRAM=... -DCHECK=round_trip|exit_status|traffic -DWORK_DIR=... -P command_line_check.cmake
# round_trip: enciphers a German text, finds the key (--json), deciphers with
# it; exit_status: bad usage and unknown options give 2, no result 1, help and
# version 0; traffic: several files, a batch or under one key, and probable
# words.
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

function(fail message)
    message(SEND_ERROR "${message}")
endfunction()

# run(NAME STATUS [INPUT file] ARGS ...): runs the program without a display
# and checks the exit status; leaves ${NAME}_out and ${NAME}_err.
function(run name status)
    cmake_parse_arguments(ARG "" "INPUT" "ARGS" ${ARGN})
    set(input)
    if(ARG_INPUT)
        set(input INPUT_FILE "${ARG_INPUT}")
    endif()
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
                "${PROGRAM}" ${ARG_ARGS}
        ${input}
        RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
    if(NOT result STREQUAL status)
        fail("${name}: exit status ${result}, expected ${status}\nstdout: ${out}\nstderr: ${err}")
    endif()
    set(${name}_out "${out}" PARENT_SCOPE)
    set(${name}_err "${err}" PARENT_SCOPE)
endfunction()

function(expect_match name text regex)
    if(NOT text MATCHES "${regex}")
        fail("${name}: '${text}' does not match '${regex}'")
    endif()
endfunction()

if(CHECK STREQUAL "round_trip")
    # Umlauts, ß and a digit pass the same cleaning as in the window.
    file(WRITE "${WORK_DIR}/plain.txt"
         "An das Generalkommando: Unsere Vorhut hat das Dorf am Waldrand um 6 Uhr besetzt.\n"
         "Der Feind zieht sich über den Fluß nach Osten zurück und hält die Höhen südlich davon.\n"
         "Erbitten Munition für die Artillerie. Die Brücke ist unbeschädigt. Gezeichnet Wagner\n")
    set(clean "ANDASGENERALKOMMANDOUNSEREVORHUTHATDASDORFAMWALDRANDUMSECHSUHRBESETZTDERFEINDZIEHTSICHUEBER")
    string(APPEND clean "DENFLUSZNACHOSTENZURUECKUNDHAELTDIEHOEHENSUEDLICHDAVONERBITTENMUNITIONFUERDIEARTILLERIEDIE")
    string(APPEND clean "BRUECKEISTUNBESCHAEDIGTGEZEICHNETWAGNER")

    run(encipher 0 ARGS --encipher --key funkerkompanie --method ABCD "${WORK_DIR}/plain.txt")
    expect_match(encipher "${encipher_out}" "^([A-Z][A-Z][A-Z][A-Z][A-Z] )+[A-Z]+\n$")
    file(WRITE "${WORK_DIR}/cipher.txt" "${encipher_out}")

    run(find_key 0 INPUT "${WORK_DIR}/cipher.txt" ARGS --find-key --json --time-limit 10 -)
    string(JSON keyword ERROR_VARIABLE json_error GET "${find_key_out}" keyword)
    if(json_error)
        fail("find_key: no JSON object with a keyword: ${json_error}\n${find_key_out}")
    else()
        string(JSON method GET "${find_key_out}" method)
        string(JSON columns GET "${find_key_out}" columns)
        string(JSON plaintext GET "${find_key_out}" plaintext)
        string(JSON first GET "${find_key_out}" candidates 0 keyword)
        string(JSON score GET "${find_key_out}" score)
        set(found "${method} ${columns} ${plaintext} ${first}")
        set(expected "ABCD 14 ${clean} ${keyword}")
        if(NOT found STREQUAL expected)
            fail("find_key: found '${found}', expected '${expected}'")
        endif()
        if(NOT score LESS 0)
            fail("find_key: score ${score} is no log probability")
        endif()

        run(decipher 0 ARGS --decipher --key "${keyword}" --method abcd "${WORK_DIR}/cipher.txt")
        string(REPLACE " " "" deciphered "${decipher_out}")
        if(NOT deciphered STREQUAL "${clean}\n")
            fail("decipher: '${decipher_out}', expected the groups of '${clean}'")
        endif()
    endif()

    run(find_key_text 0 ARGS --find-key --time-limit=10 --threads 2 "${WORK_DIR}/cipher.txt")
    expect_match(find_key_text "${find_key_text_out}" "Verfahren: +ABCD-Chiffre\n.*Klartext: +ANDAS GENER ALKOM")
elseif(CHECK STREQUAL "exit_status")
    file(WRITE "${WORK_DIR}/short.txt" "Achtzehn Buchstaben!")
    string(ASCII 252 latin1_umlaut)
    file(WRITE "${WORK_DIR}/latin1.txt" "Gr${latin1_umlaut}n ist die Hoffnung, doch die Lage ist ernst genug.")
    string(RANDOM LENGTH 300 ALPHABET ABCDEFGHIJKLMNOPQRSTUVWXYZ RANDOM_SEED 7 letters)
    file(WRITE "${WORK_DIR}/random.txt" "${letters}")

    run(help 0 ARGS --help)
    expect_match(help "${help_out}" "--find-key.*--json.*--time-limit.*--threads.*--encipher.*--decipher.*--key.*--method")
    run(version 0 ARGS --version)
    expect_match(version "${version_out}" "^abc-workbench [0-9]+\\.[0-9]+\\.[0-9]+\n$")

    # One call per line, its arguments separated by "|".
    set(bad_usage
        "--json"
        "--find-key|--encipher|--key|AB"
        "--find-key|--fast"
        "--find-key|--time-limit|soon"
        "--find-key|--time-limit|0"
        "--find-key|--threads"
        "--find-key|--key|AB"
        "--encipher|--json|--key|AB"
        "--encipher"
        "--decipher|--key|äö-+"
        "--encipher|--key|AB1"
        "--encipher|--key|AB|--method|ABCDE"
        "--decipher|--key|AB|one.txt|two.txt"
        "--find-key|${WORK_DIR}/missing.txt"
        "--find-key|${WORK_DIR}"
        "--decipher|--key|AB|${WORK_DIR}"
        "--find-key|${WORK_DIR}/latin1.txt"
        "--find-key|--crib|?!|${WORK_DIR}/short.txt"
        "--find-key|--crib|Maschinengewehrkompanie|${WORK_DIR}/short.txt"
        "--encipher|--key|AB|--crib|Bataillon"
        "--decipher|--key|AB|--same-key"
        "--find-key|--same-key|${WORK_DIR}/short.txt|-")
    foreach(call IN LISTS bad_usage)
        string(REPLACE "|" ";" arguments "${call}")
        run(usage 2 ARGS ${arguments})
        expect_match("${call}" "${usage_err}" "^abc-workbench: .+\n")
        if(NOT usage_out STREQUAL "")
            fail("${call}: printed '${usage_out}'")
        endif()
    endforeach()

    # An unknown option never opens the window; Qt's own options do, here
    # without a display, and may stand beside a command.
    run(unknown 2 ARGS --bogus)
    set(refusal "abc-workbench: Unbekannte Option „--bogus“.\n„abc-workbench --help“ zeigt die Aufrufe.\n")
    if(NOT unknown_err STREQUAL refusal OR NOT unknown_out STREQUAL "")
        fail("unknown: stdout '${unknown_out}', stderr '${unknown_err}'")
    endif()
    run(window 1 ARGS -style Windows "${WORK_DIR}/short.txt")
    expect_match(window "${window_err}" "^No display found")
    run(qt_option 0 ARGS -style Windows --version)
    expect_match(qt_option "${qt_option_out}" "^abc-workbench [0-9]")

    run(too_short 1 ARGS --find-key "${WORK_DIR}/short.txt")
    expect_match(too_short "${too_short_err}" "zu kurz für eine Schlüsselsuche")
    run(too_short_json 1 ARGS --find-key --json "${WORK_DIR}/short.txt")
    string(JSON error ERROR_VARIABLE json_error GET "${too_short_json_out}" error)
    expect_match(too_short_json "${error}" "zu kurz")
    run(no_candidate 1 ARGS --find-key --time-limit 2 "${WORK_DIR}/random.txt")
    expect_match(no_candidate "${no_candidate_err}" "Kein Kandidat liest sich wie deutscher Text")
    file(WRITE "${WORK_DIR}/empty.txt" " .,;\n")
    run(no_letters 1 INPUT "${WORK_DIR}/empty.txt" ARGS --encipher --key AB -)
    run(no_letters 1 ARGS --decipher --key AB "${WORK_DIR}/empty.txt")
elseif(CHECK STREQUAL "traffic")
    # Three messages of a day under one key, each of them easy alone.
    set(plain_a "Die Vorhut meldet: Feindliche Infanterie hat in der Nacht das Dorf geräumt und sich auf die "
                "Höhen östlich des Baches zurückgezogen. Wir besetzen die Brücke am Morgen.")
    set(plain_b "An das Bataillon: Die Munition für die Maschinengewehre trifft heute Abend mit der Feldbahn "
                "ein. Fahrzeuge sind bis acht Uhr an der Verladestelle bereitzustellen.")
    set(plain_c "Der Regimentsstab verlegt morgen früh nach dem Gutshof südlich der Straße. Meldungen sind ab "
                "zehn Uhr dorthin zu richten, die Fernsprechverbindung folgt am Nachmittag.")
    set(files)
    foreach(name a b c)
        string(CONCAT text ${plain_${name}})
        file(WRITE "${WORK_DIR}/plain_${name}.txt" "${text}")
        run(encipher 0 ARGS --encipher --key funkerkompanie --method ABCD "${WORK_DIR}/plain_${name}.txt")
        file(WRITE "${WORK_DIR}/${name}.txt" "${encipher_out}")
        list(APPEND files "${WORK_DIR}/${name}.txt")
    endforeach()
    list(GET files 0 file_a)
    list(GET files 1 file_b)
    list(GET files 2 file_c)

    # A batch: one JSON line a file, in their order; the directory is named
    # and the others are searched all the same.
    run(batch 1 ARGS --find-key --json --time-limit 10 "${file_a}" "${WORK_DIR}" "${file_b}" "${file_c}")
    expect_match(batch "${batch_err}" "„${WORK_DIR}“ ist ein Verzeichnis")
    string(REGEX MATCHALL "[^\n]+" lines "${batch_out}")
    set(found)
    foreach(line IN LISTS lines)
        string(JSON file GET "${line}" file)
        string(JSON keyword ERROR_VARIABLE no_keyword GET "${line}" keyword)
        if(no_keyword)
            string(JSON keyword GET "${line}" error)
        endif()
        list(APPEND found "${file} ${keyword}")
    endforeach()
    set(expected "${file_a} FUNKERKOMPANIE;${WORK_DIR} „${WORK_DIR}“ ist ein Verzeichnis, keine Datei.")
    list(APPEND expected "${file_b} FUNKERKOMPANIE" "${file_c} FUNKERKOMPANIE")
    if(NOT found STREQUAL expected)
        fail("batch: found '${found}', expected '${expected}'")
    endif()

    # The same files as messages under one key, with a probable word from
    # the second one: every file listed in order, the word placed in it.
    run(same_key 0 ARGS --find-key --same-key --json --time-limit 10 --crib Munition ${files})
    string(JSON count LENGTH "${same_key_out}" messages)
    string(JSON plaintext_b GET "${same_key_out}" messages 1 plaintext)
    string(FIND "${plaintext_b}" "MUNITION" position)
    string(JSON crib GET "${same_key_out}" crib 0)
    set(expected "{\"found\":true,\"message\":1,\"position\":${position},\"word\":\"MUNITION\"}")
    string(JSON crib_matches EQUAL "${crib}" "${expected}")
    if(NOT count EQUAL 3 OR position LESS 0 OR NOT crib_matches)
        fail("same_key: ${count} messages, crib ${crib}\n${same_key_out}")
    endif()
    foreach(index 0 1 2)
        string(JSON file GET "${same_key_out}" messages ${index} file)
        string(JSON german GET "${same_key_out}" messages ${index} readsAsGerman)
        list(GET files ${index} expected_file)
        if(NOT file STREQUAL expected_file OR NOT german)
            fail("same_key: message ${index} is '${file}', reads as German: ${german}")
        endif()
    endforeach()

    # In text, each result under its file's name, and where the word stands.
    run(batch_text 0 ARGS --find-key --time-limit 10 --crib Munition "${file_a}" "${file_b}")
    string(CONCAT named_results "^Datei: +${file_a}\nSchlüsselwort: FUNKERKOMPANIE\n.*"
                  "Vermutetes Wort: MUNITION nicht gefunden\n\nDatei: +${file_b}\n.*"
                  "Vermutetes Wort: MUNITION, Buchstabe [0-9]+\n")
    expect_match(batch_text "${batch_text_out}" "${named_results}")
else()
    message(FATAL_ERROR "CHECK is round_trip, exit_status or traffic")
endif()
