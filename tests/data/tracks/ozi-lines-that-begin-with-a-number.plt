OziExplorer Track Point File Version 2.1
WGS 84
Altitude is in Feet
0,2,255,Track,1,0,2,8421376,0
3
2390
47.5,3.7,1,1258.8,39307.3,,
x,1,2
  -5.5,  -105.2,0
 .5,1,1 , -777
-.,1,1,1

95,1,0
