; Fernquill sample effect fx_engstrt: a placeholder, not a working effect.
[Properties]
Version=1
Name=fx_engstrt
