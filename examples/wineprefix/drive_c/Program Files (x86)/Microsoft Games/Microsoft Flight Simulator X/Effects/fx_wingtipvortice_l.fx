; Fernquill sample effect fx_wingtipvortice_l: a placeholder, not a working effect.
[Properties]
Version=1
Name=fx_wingtipvortice_l
