# Inputs outside physics are "Error in input data," (bit 4, 16) with a zero result.
qmx_cli_test(dp_zero_temperature ARGS dp --meter Orf_ISO --D 0.1 --d 0.05 --dp 1e4 --P1 1e6 --T 0
             --mu 1e-5 --kappa 1.3 --rho 10 STDOUT "\"flag_text\": \"Error in input data,")
qmx_cli_test(dp_zero_viscosity ARGS dp --meter Orf_ISO --D 0.1 --d 0.05 --dp 1e4 --P1 1e6 --T 300
             --mu 0 --kappa 1.3 --rho 10 STDOUT "\"flag_text\": \"Error in input data,.*\"qm\": 0,")
qmx_cli_test(dp_liquid_below_dp ARGS dp --meter Orf_ISO --D 0.1 --d 0.05 --dp 1e4 --P1 0 --T 300
             --mu 1e-3 --kappa 1e6 --rho 1000 --incompressible STDOUT "\"flag_text\": \"Error in input data,.*\"qm\": 0,")
# An expansibility below zero is a calculation error (bit 3), never a negative flow.
qmx_cli_test(dp_negative_expansibility ARGS dp --meter 2 --D 0.1 --d 0.001 --dp 5e4 --P1 1e5 --c1 0.8
             --T 300 --mu 1e-5 --kappa 1.4 --rho 1.2 STDOUT "\"flag_text\": \"Calculation error,.*\"qm\": 0,")
# A user coefficient of 0 gives no flow and says so.
qmx_cli_test(dp_user_coefficient_zero ARGS dp --meter 1 --D 0.1 --d 0.05 --dp 1e4 --P1 1e6 --c1 0
             --T 300 --mu 1e-5 --kappa 1.3 --rho 10 STDOUT "\"flag_text\": \"Error in input data,")
