; Fernquill sample effect fx_wake: a placeholder, not a working effect.
[Properties]
Version=1
Name=fx_wake
