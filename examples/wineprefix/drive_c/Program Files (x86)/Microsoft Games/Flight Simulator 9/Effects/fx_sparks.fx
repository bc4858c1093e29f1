; Fernquill sample effect fx_sparks: a placeholder, not a working effect.
[Properties]
Version=1
Name=fx_sparks
