# Gulf Coast by AGA-8 at 5 MPa and 15 C: flowing Z near 0.896 and no omens.
qmx_cli_test(gas_aga8_gulf_coast ARGS gas --method AGA8detailed --preset 0 --T 288.15 --P 5e6
             STDOUT "\"FLOWING\": \\{.*\"Z\": 0\\.896[0-9]*,.*\"omens\": 0")
# Methane with the GPA 2145 US table: molar mass 16.0425 and Tc 190.561 K.
qmx_cli_test(gas_methane_ideal ARGS gas --method IdealGasLaw --preset 5
             STDOUT "\"Mr\": 16\\.042(5|49)[0-9]*,.*\"Tc\": 190\\.561")
qmx_cli_test(gas_code_and_x ARGS gas --method 2 --x "0.9,0.05,0.05,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0"
             STDOUT "\"method\": \"PengR\"")
qmx_cli_test(gas_sgerg_gcn ARGS gas --method SgergGCN --gr 0.581 --hs 38.6e6 --co2 0.006 --n2 0.0026
             --T 288.15 --P 5e6 STDOUT "\"FLOWING\": \\{.*\"Z\": 0\\.896[0-9]*,.*\"hmethod\": \"GrossHmethod\"")
qmx_cli_test(gas_sgerg_high_pressure ARGS gas --method SgergGCN --gr 0.581 --hs 38.6e6 --co2 0.006 --n2 0.0026
             --T 288.15 --P 13e6 STDOUT "\"omens_text\": \"pressure out of range,\"")
qmx_cli_test(gas_uninstalled ARGS gas --method RKwong EXIT 1 STDERR "GAS1.NewMix\\(\\) method not installed")
qmx_cli_test(gas_base_outside_air ARGS gas --method AGA8detailed --preset 0 --tbase 300 EXIT 1
             STDERR "GAS1.UpdateHBfromSlate\\(\\) Invalid base T P")
qmx_cli_test(gas_test_source ARGS gas --method AGA8detailed --source GasDataTest EXIT 1 STDERR "GAS1.DoMix\\(\\) invalid table")
qmx_cli_test(gas_unknown_method ARGS gas --method Nothing EXIT 2)
qmx_cli_test(gas_bad_preset ARGS gas --method 8 --preset 16 EXIT 2)
qmx_cli_test(gas_bad_x_count ARGS gas --method 8 --x "1,2,3" EXIT 2)
qmx_cli_test(gas_t_without_p ARGS gas --method 8 --T 300 EXIT 2)
# A composition must have a positive, finite sum and no negative or NaN entry.
qmx_cli_test(gas_x_all_zero ARGS gas --method 8 --x "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0" EXIT 2 STDERR "positive, finite sum")
qmx_cli_test(gas_x_negative ARGS gas --method 8 --x "-1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0" EXIT 2)
qmx_cli_test(gas_x_overflow ARGS gas --method 8 --x "1e308,1e308,1e308,1e308,1e308,1e308,1e308,1e308,1e308,1e308,1e308,1e308,1e308,1e308,1e308,1e308,1e308,1e308,1e308,1e308,1e308"
             EXIT 2 STDERR "positive, finite sum")
