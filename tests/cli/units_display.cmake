# Display units of calc and report: --units picks a unit system, unit.<list>=UNIT one list; the
# SI values never change.
# SI preferred metric: 12 kPa, 22 C, a 3.068 in pipe as 77.9272 mm, the mass flow in kg/hr.
qmx_cli_test(units_display_si ARGS calc --units si
             STDOUT "\"dp\": {[^}]*\"si\": 12000,[^}]*\"text\": \"12\\.0\",[^}]*\"unit\": \"kpa\".*\"flowing_temperature\": {[^}]*\"text\": \"22\\.0\",[^}]*\"unit\": \"C\".*\"pipe_diameter\": {[^}]*\"text\": \"77\\.9272\",[^}]*\"unit\": \"mm\".*\"mass_flow\": {[^}]*\"unit\": \"kg/hr\"")
# US inch-pound: F, in, API gravity and per F.
qmx_cli_test(units_display_us ARGS calc --units us
             STDOUT "\"flowing_temperature\": {[^}]*\"text\": \"71\\.6\",[^}]*\"unit\": \"F\".*\"liquid_density\": {[^}]*\"unit\": \"api\".*\"pipe_diameter\": {[^}]*\"text\": \"3\\.068\",[^}]*\"unit\": \"in\".*\"thermal_expansion\": {[^}]*\"unit\": \" /F\"")
# MKS base metric: pascal and kelvin (22 C is 295.15 K).
qmx_cli_test(units_display_mks ARGS calc --units mks
             STDOUT "\"dp\": {[^}]*\"unit\": \"pa\".*\"flowing_temperature\": {[^}]*\"text\": \"295\\.15\",[^}]*\"unit\": \"K\"")
# Common metric: the base pressure 101.325 kPa in bar.
qmx_cli_test(units_display_common ARGS calc --units common
             STDOUT "\"base_pressure\": {[^}]*\"text\": \"1\\.01325\",[^}]*\"unit\": \"bar\"")
# A list over the system, whatever the order of the keys; the SI value stays.
qmx_cli_test(units_display_list_over_system ARGS calc unit.pressure=psi --units si
             STDOUT "\"base_pressure\": {[^}]*\"si\": 101325,[^}]*\"text\": \"14\\.6959\",[^}]*\"unit\": \"psi\".*\"static_pressure\": {[^}]*\"unit\": \"psi\"")
# The liquid volume list governs the actual volume flow of a liquid, and the gas list that of a gas.
qmx_cli_test(units_display_liquid_flow ARGS calc unit.liquid_volume_flow=bbl/day unit.gas_volume_flow=m3/hr fluid=liquid
             STDOUT "\"actual_volume_flow\": {[^}]*\"unit\": \"bbl/day\"")
qmx_cli_test(units_display_gas_flow ARGS calc unit.liquid_volume_flow=bbl/day unit.gas_volume_flow=m3/hr
             STDOUT "\"actual_volume_flow\": {[^}]*\"unit\": \"m3/hr\"")
# Refusals exit 2 with the list's hint.
qmx_cli_test(units_display_refused ARGS calc --units si unit.pressure=kg EXIT 2
             STDERR "unit\\.pressure: unit \"kg\" does not fit: Pressure units only, eg psi \\(pounds per square inch\\)")
qmx_cli_test(units_display_refused_total ARGS report unit.mass_total=m3 EXIT 2
             STDERR "unit\\.mass_total: unit \"m3\" does not fit: Mass units only, eg lbm \\(pounds-mass\\)")
qmx_cli_test(units_display_unknown_list ARGS calc unit.bogus=kg EXIT 2 STDERR "unknown key: \"unit\\.bogus\" \\(the unit lists are dp, pressure,")
qmx_cli_test(units_display_unknown_system ARGS calc --units metric EXIT 2 STDERR "--units: no such unit system: \"metric\"")
# The report in the chosen units.
qmx_cli_test(units_display_report ARGS report --units si
             STDOUT "Differential 12\\.0 kpa.*Inlet temperature 22\\.0 C.*Meter tube diameter 77\\.9272 mm at 20\\.0 C")
qmx_cli_test(units_display_help ARGS calc --help STDOUT "--units si\\|common\\|mks\\|us.*unit\\.k_factor")
