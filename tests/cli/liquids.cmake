# Crude oil of 850 kg/m3 at 15 C, flowing at 30 C and 1 MPa gauge.
qmx_cli_test(liquid_crude ARGS liquid --product 0 --rho-base 850 --T-base 288.15 --T 303.15 --P 1e6
             STDOUT "\"ctpl\": 0\\.9879(8|79)[0-9]*,.*\"flags\": 0")
qmx_cli_test(liquid_bad_product ARGS liquid --product 9 --rho-base 850 --T-base 288.15 --T 303.15 --P 1e6 EXIT 2)
qmx_cli_test(liquid_not_a_number ARGS liquid --product 0 --rho-base x --T-base 288.15 --T 303.15 --P 1e6 EXIT 2)
qmx_cli_test(liquid_viscosity ARGS liquid-viscosity --T 303.15 --rho 850 STDOUT "\"viscosity\": [0-9]")
# Light hydrocarbons have no correction: zero outputs and a flag that says so, not an error.
qmx_cli_test(liquid_light_hydrocarbons ARGS liquid --product 4 --rho-base 500 --T-base 288.15 --T 300 --P 1e6
             STDOUT "\"ctpl\": 0,.*\"density\": 0,.*\"flag_text\": \"product_not_covered! \"")
