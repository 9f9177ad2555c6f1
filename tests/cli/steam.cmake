# IF97 verification table 5: 3 MPa, 300 K, v = 0.00100215168 m3/kg, h = 115.331273 kJ/kg.
qmx_cli_test(steam_region1 ARGS steam --P 3e6 --T 300
             STDOUT "\"density\": 997\\.85[0-9]*,.*\"enthalpy\": 115331\\.2[0-9]*,.*\"region\": 1")
qmx_cli_test(steam_sat_p ARGS steam --sat-P 1e6 STDOUT "\"Tsat\": 453\\.035[0-9]*,.*\"ok\": true")
qmx_cli_test(steam_outside ARGS steam --P 3e6 --T 3000 STDOUT "\"region\": 0")
qmx_cli_test(steam_not_a_number ARGS steam --P abc --T 300 EXIT 2 STDERR "--P: not a finite number: \"abc\"")
qmx_cli_test(steam_missing_value ARGS steam --P 3e6 EXIT 2)
