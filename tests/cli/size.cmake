# Meter sizing: the bore for a target mass flow on the defaults (AGA-3 2012 orifice, Gulf Coast gas).
qmx_cli_test(size_bore ARGS size --solve bore --target "mass_flow=1.5 kg/s"
             STDOUT "\"mass_flow\": {[^}]*\"si\": (1\\.49999999|1\\.50000000|1\\.5\n)")
qmx_cli_test(size_bore_solve_name ARGS size --solve bore --target "mass_flow=1.5 kg/s" STDOUT "\"solve\": \"bore\"")
# A target in customary units: 3 lbm/sec is 1.360777110 kg/s.
qmx_cli_test(size_bore_units ARGS size --solve bore --target "mass_flow=3 lbm/sec"
             STDOUT "\"mass_flow\": {[^}]*\"si\": 1\\.3607771")
qmx_cli_test(size_dp ARGS size --solve dp --target "std_volume_flow=1 m3/s"
             STDOUT "\"std_volume_flow\": {[^}]*\"si\": (0\\.99999999|1\\.00000000|1\n)")
qmx_cli_test(size_flow ARGS size --solve flow STDOUT "\"solve\": \"flow\"")
qmx_cli_test(size_liquid_dp ARGS size fluid=liquid --solve dp --target "actual_volume_flow=0.01 m3/s"
             STDOUT "\"flags\": [0-9]+")
qmx_cli_test(size_out_of_reach ARGS size --solve bore --target "mass_flow=1000 kg/s" EXIT 1
             STDERR "out of reach: throat diameters from .* m \\(beta 0\\.1 to 0\\.75\\) give")
qmx_cli_test(size_turbine ARGS size meter=39 --solve dp --target "mass_flow=1 kg/s" EXIT 1 STDERR "gas turbine")
qmx_cli_test(size_bad_solve ARGS size --solve pipe --target "mass_flow=1" EXIT 2 STDERR "--solve")
qmx_cli_test(size_no_target ARGS size --solve bore EXIT 2 STDERR "--target")
qmx_cli_test(size_flow_with_target ARGS size --solve flow --target "mass_flow=1" EXIT 2 STDERR "no target")
qmx_cli_test(size_wrong_unit ARGS size --solve bore --target "mass_flow=1 m3/s" EXIT 2 STDERR "does not fit")
qmx_cli_test(size_bad_quantity ARGS size --solve bore --target "energy_flow=1" EXIT 2 STDERR "--target")
qmx_cli_test(size_negative_target ARGS size --solve bore --target "mass_flow=-1" EXIT 2 STDERR "positive")
qmx_cli_test(size_bad_key ARGS size bogus=1 --solve bore --target "mass_flow=1" EXIT 2 STDERR "unknown key")
