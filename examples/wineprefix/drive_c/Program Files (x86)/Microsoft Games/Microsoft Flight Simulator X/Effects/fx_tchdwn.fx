; Fernquill sample effect fx_tchdwn: a placeholder, not a working effect.
[Properties]
Version=1
Name=fx_tchdwn
