# Sourced by run-sample.sh and check-install.sh: makes a scratch copy of the
# bundled samples (a Wine prefix with FS9 and FSX "installed" and sample
# aircraft folders) and a settings folder for it that opens the sample
# aircraft at start-up with the weekly update check off.
#
#   sample_copy <repository root> <scratch folder>
# sets SAMPLE_PREFIX (the Wine prefix) and SAMPLE_CONFIG (for XDG_CONFIG_HOME).
sample_copy() {
    local root="$1" scratch="$2"
    cp -a "$root/examples/." "$scratch/"
    SAMPLE_PREFIX="$scratch/wineprefix"
    SAMPLE_CONFIG="$scratch/config"
    mkdir -p "$SAMPLE_CONFIG"
    if [ -d "$SAMPLE_PREFIX" ]; then
        ln -sfn ../drive_c "$SAMPLE_PREFIX/dosdevices/c:"
        local airplanes="$SAMPLE_PREFIX/drive_c/Program Files (x86)/Microsoft Games/Microsoft Flight Simulator X/SimObjects/Airplanes"
        # git keeps no empty folders; the faults sample needs one for validation to find
        if [ -d "$airplanes/Brackenhold_A320_Faults" ]; then
            mkdir -p "$airplanes/Brackenhold_A320_Faults/panel"
        fi
        local aircraft="$airplanes/Brackenhold_B738"
        if [ -d "$aircraft" ]; then
            mkdir -p "$SAMPLE_CONFIG/© Brackenhold Tools"
            # The weekly update check is off here: the sample is for trying the editor.
            printf '[Fernquill]\nIsMerrow=1\nAutoUpdate=0\nPath=%s\n' "$aircraft" \
                > "$SAMPLE_CONFIG/© Brackenhold Tools/Fernquill.ini"
        fi
    fi
}
