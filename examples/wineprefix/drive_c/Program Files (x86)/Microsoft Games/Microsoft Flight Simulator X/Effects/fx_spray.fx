; Fernquill sample effect fx_spray: a placeholder, not a working effect.
[Properties]
Version=1
Name=fx_spray
