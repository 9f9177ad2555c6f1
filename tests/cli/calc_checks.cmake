# The entered composition total beside the normalised one, and the warning when it is off 100 %.
qmx_cli_test(calc_entered_total ARGS calc x.C1=0 x.N2=50 x.CO2=0 x.C2=0 x.C3=0 x.H2O=0 x.H2S=0 x.H2=0
             x.CO=0 x.O2=0 x.iC4=0 x.nC4=0 x.iC5=0 x.nC5=0 x.nC6=0 x.nC7=0 x.nC8=0 x.nC9=0 x.nC10=0
             x.He=0 x.Ar=53.5 fluid=gas
             STDOUT "\"x.entered_total\": {[^}]*\"text\": \"103\\.5\",[^}]*\"value\": 1\\.035[0-9]*.*\"warning\": \"composition normalised from 103\\.5 %,")
# Every entry 0: refused, not computed as methane.
qmx_cli_test(calc_empty_composition ARGS calc x.C1=0 x.N2=0 x.CO2=0 x.C2=0 x.C3=0 x.H2O=0 x.H2S=0 x.H2=0
             x.CO=0 x.O2=0 x.iC4=0 x.nC4=0 x.iC5=0 x.nC5=0 x.nC6=0 x.nC7=0 x.nC8=0 x.nC9=0 x.nC10=0
             x.He=0 x.Ar=0 EXIT 2 STDERR "sum to 0")
# Results natural gas does not compute are null, shown as "--".
qmx_cli_test(calc_not_computed_is_null ARGS calc
             STDOUT "\"sat_liquid_density\": {[^}]*\"si\": null,[^}]*\"text\": \"--\"")
# Dry steam that is liquid water says so first, naming the saturation temperature.
qmx_cli_test(calc_dry_steam_not_superheated ARGS calc fluid=drysteam
             STDOUT "\"warning\": \"Not superheated steam: saturation temperature 517\\.[0-9]* K at this pressure,")
# Zero viscosity or a liquid at zero absolute pressure: flagged, no flow.
qmx_cli_test(calc_liquid_zero_viscosity ARGS calc fluid=liquid liquid_viscosity=0
             STDOUT "\"mass_flow\": {[^}]*\"si\": 0,.*\"warning\": \"Error in input data,")
qmx_cli_test(calc_liquid_zero_pressure ARGS calc fluid=liquid upstream_pressure=0
             STDOUT "\"mass_flow\": {[^}]*\"si\": 0,.*\"warning\": \"Error in input data,")
qmx_cli_test(calc_gcn_zero_viscosity ARGS calc fluid=gcn gcn_viscosity=0
             STDOUT "\"warning\": \"Error in input data,")
# A turbine frequency of 1e308 overflows the energy flow: flagged, every result finite.
qmx_cli_test(calc_turbine_overflow ARGS calc meter=39 frequency=1e308
             STDOUT "\"energy_flow\": {[^}]*\"si\": 0,.*\"warning\": \"Calculation error,\"")
# Gas omens name the equation whose range was left.
qmx_cli_test(calc_omen_names_equation ARGS calc fluid=gcn "static_pressure=20 mpa" EXIT 1
             STDERR "Calculate\\(\\) omens: SGERG: pressure out of range,")
