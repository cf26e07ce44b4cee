# cmake -DSOURCE=file -DSORTIE=file.gz -P compresser.cmake: gzip -9n, as dh_compress does.
find_program(GZIP gzip REQUIRED)
execute_process(COMMAND "${GZIP}" -9 --no-name --stdout "${SOURCE}"
                OUTPUT_FILE "${SORTIE}"
                COMMAND_ERROR_IS_FATAL ANY)
