; Fernquill sample effect fx_contrail_l: a placeholder, not a working effect.
[Properties]
Version=1
Name=fx_contrail_l
