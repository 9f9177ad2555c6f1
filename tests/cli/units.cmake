# The whole catalogue: the calculator's operators (keys print in order) and 21 groups from mass to
# dimensionless.
qmx_cli_test(units_all ARGS units
             STDOUT "\"heading\": \"------ Expressions ---------\".*\"symbol\": \"PI\\(\\)\".*\"heading\": \"------Mass -----------------\".*\"heading\": \"------Dimensionless --------\"")
# The formulaic row first, then units by ascending factor: rdg (1.225) before rdl (999.016).
qmx_cli_test(units_density ARGS units --dimension "mass density"
             STDOUT "\"label\": \"api   \\[formulaic: mass / volume\\]\".*\"symbol\": \"rdg\".*\"symbol\": \"rdl\"")
# Pressure starts at pa (1) and ends at ksi (6894757.293168361).
qmx_cli_test(units_pressure ARGS units --dimension Pressure
             STDOUT "\"factor\": 1,.*\"symbol\": \"pa\".*\"factor\": 6894757\\.2931683613,.*\"symbol\": \"ksi\"[^{]*\\][^{]*\\][^{]*$")
qmx_cli_test(units_fuel_economy ARGS units --dimension "fuel economy"
             STDOUT "\"name\": \"Liters per hundred kilometers\"")
qmx_cli_test(units_unknown_dimension ARGS units --dimension furlongs EXIT 2 STDERR "unknown dimension")
