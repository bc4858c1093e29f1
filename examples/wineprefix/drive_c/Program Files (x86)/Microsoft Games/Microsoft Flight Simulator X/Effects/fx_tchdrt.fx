; Fernquill sample effect fx_tchdrt: a placeholder, not a working effect.
[Properties]
Version=1
Name=fx_tchdrt
