; Fernquill sample effect fx_vaportrail_r: a placeholder, not a working effect.
[Properties]
Version=1
Name=fx_vaportrail_r
