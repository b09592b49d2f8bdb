# Runs pat2dat for the tune (cmake -P, with PAT2DAT_ARGS) and keeps its report off the
# terminal. pat2dat always asks for the piano, program 1, as Allegro's player always loads
# it for channels that play before choosing a program; the tune chooses one on every channel
# before its first note, so the piano's absence is expected. Any other instrument or drum
# missing would be silent in the game, so it fails the build.
execute_process(COMMAND pat2dat ${PAT2DAT_ARGS}
    OUTPUT_VARIABLE report ERROR_VARIABLE report RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "pat2dat failed:\n${report}")
endif()
string(REGEX MATCHALL "Warning: can't find [^\n]*" missing "${report}")
list(REMOVE_ITEM missing "Warning: can't find instrument #1 (Acoustic Grand)")
if(missing)
    list(JOIN missing "\n" missing)
    message(FATAL_ERROR "The tune plays what tools/patches.cfg.in lacks:\n${missing}")
endif()
