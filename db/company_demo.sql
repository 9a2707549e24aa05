/* Demo content shared by every demo company. */
INSERT INTO TIPO_DOCUMENTO VALUES (1, 'FV', 'Factura de venta', 'FACTURACION', 'S', 'S', 'N', 'N', 'N');
INSERT INTO TIPO_DOCUMENTO VALUES (2, 'RC', 'Recibo de caja', 'CAJA', 'N', 'S', 'N', 'S', 'N');
INSERT INTO TIPO_DOCUMENTO VALUES (3, 'NC', 'Nota crédito', 'CARTERA', 'N', 'S', 'N', 'N', 'N');
INSERT INTO TIPO_DOCUMENTO VALUES (4, 'EA', 'Entrada de almacén', 'INVENTARIO', 'S', 'N', 'N', 'N', 'N');
INSERT INTO TIPO_DOCUMENTO VALUES (5, 'CE', 'Comprobante de egreso', 'BANCOS', 'N', 'N', 'S', 'N', 'S');
INSERT INTO TIPO_DOCUMENTO VALUES (6, 'FC', 'Factura de compra', 'COMPRAS', 'S', 'N', 'S', 'N', 'N');

INSERT INTO CONFIGURACION VALUES ('GENERAL', 'GENERAL', 'DURACION DE LAS ADVERTENCIAS', '30', '',
    'Tiempo que se muestran las advertencias en la barra de estado, en décimas de segundo.');
INSERT INTO CONFIGURACION VALUES ('GENERAL', 'GENERAL', 'MANEJA SUCURSALES', 'S', 'S,N',
    'Indica si la compañía trabaja con varias sucursales.');
INSERT INTO CONFIGURACION VALUES ('GENERAL', 'APARIENCIA', 'COLOR FONDO', 'clRed', '',
    'Color de fondo de las ventanas de captura.');
INSERT INTO CONFIGURACION VALUES ('GENERAL', 'APARIENCIA', 'COLOR TITULOS', '$001E140A', '',
    'Color de los títulos de las columnas.');
INSERT INTO CONFIGURACION VALUES ('GENERAL', 'APARIENCIA', 'COLOR RESALTADO', 'clSkyBlue', '',
    'Color de la fila seleccionada en las cuadrículas.');
INSERT INTO CONFIGURACION VALUES ('FACTURACION', 'IMPRESION', 'IMPRESORA FACTURAS', 'Predeterminada',
    '(PREDETERMINADA)...', 'Impresora en la que salen las facturas.');
INSERT INTO CONFIGURACION VALUES ('FACTURACION', 'IMPRESION', 'COPIAS POR FACTURA', '2', '1,2,3',
    'Número de copias que se imprimen de cada factura.');
INSERT INTO CONFIGURACION VALUES ('FACTURACION', 'IMPRESION', 'IMPRIME LOGO', 'S', 'S,N',
    'Imprime el logotipo de la compañía en el encabezado.');
INSERT INTO CONFIGURACION VALUES ('FACTURACION', 'VENTAS', 'PERMITE PRECIO MENOR AL COSTO', 'N', 'S,N',
    'Permite vender por debajo del costo del artículo.');
INSERT INTO CONFIGURACION VALUES ('FACTURACION', 'VENTAS', 'LISTA DE PRECIOS', 'MAYORISTA',
    'MAYORISTA,DETAL,,ESPECIAL', 'Lista de precios que se propone en la factura.');
INSERT INTO CONFIGURACION VALUES ('FACTURACION', 'VENTAS', 'PIE DE FACTURA', 'Gracias por su compra',
    'Gracias por su compra', 'Texto que se imprime al pie de cada factura.');
INSERT INTO CONFIGURACION VALUES ('INVENTARIO', 'IMPRESION', 'IMPRESORA ROTULOS', '1',
    '(PREDETERMINADA)...', 'Impresora de rótulos y códigos de barras.');
INSERT INTO CONFIGURACION VALUES ('INVENTARIO', 'IMPRESION', 'COLOR ETIQUETA', '$00FF0000', '',
    'Color del borde de las etiquetas.');
INSERT INTO CONFIGURACION VALUES ('INVENTARIO', 'COSTOS', 'METODO DE COSTEO', 'PROMEDIO', 'PROMEDIO,PEPS',
    'Método con que se valoriza el inventario.');
INSERT INTO CONFIGURACION VALUES ('INVENTARIO', 'COSTOS', 'PERMITE EXISTENCIA NEGATIVA', 'N', 'S,N',
    'Permite sacar artículos sin existencia.');
INSERT INTO CONFIGURACION VALUES ('CARTERA', 'COBRO', 'DIAS DE GRACIA', '5', '',
    'Días después del vencimiento antes de cobrar intereses.');
INSERT INTO CONFIGURACION VALUES ('CARTERA', 'COBRO', 'COBRA INTERESES', 'S', 'S,N',
    'Liquida intereses de mora en los estados de cuenta.');
INSERT INTO CONFIGURACION VALUES ('CONTABILIDAD', 'CIERRE', 'MES BLOQUEADO', '10', '',
    'Último mes cerrado; no se aceptan comprobantes anteriores.');

INSERT INTO PROCEDIMIENTOS_USUARIO VALUES (1, 'Ventas por vendedor', 'VENTAS_VENDEDOR',
    'Vendedor (* = todos):', '', '', '', '');
INSERT INTO PROCEDIMIENTOS_USUARIO VALUES (2, 'Operaciones por usuario', 'OPERACIONES_USUARIO',
    '', '', '', '', '');
INSERT INTO PROCEDIMIENTOS_USUARIO VALUES (3, 'Documentos por tipo', 'DOCUMENTOS_TIPO',
    '', 'Tipo (nombre corto):', '', '', '');

INSERT INTO VENDEDORES VALUES (1, 'Lucía Gómez Rincón');
INSERT INTO VENDEDORES VALUES (2, 'Andrés Peñuela');
INSERT INTO VENDEDORES VALUES (3, 'Camila O''Neill');

SET TERM ^ ;
/* Invoices and an audit trail over the last months, spread over users,
   document types and operations. */
EXECUTE BLOCK AS
DECLARE I INTEGER = 1;
DECLARE D DATE;
DECLARE OP VARCHAR(30);
BEGIN
  WHILE (I <= 3000) DO
  BEGIN
    D = DATEADD(-MOD(I * 7, 240) DAY TO CURRENT_DATE);
    IF (MOD(I, 17) = 0) THEN OP = 'Anulación';
    ELSE IF (MOD(I, 5) = 0) THEN OP = 'Modificación';
    ELSE IF (MOD(I, 7) = 0) THEN OP = 'Impresión';
    ELSE OP = 'Creación';
    INSERT INTO AUDITORIA VALUES (:I,
      DECODE(MOD(:I, 5), 0, 'GERENTE', 1, 'CAJERO', 2, 'VENDE01', 3, 'BODEGA', 'SYSDBA'),
      :D, DATEADD(MOD(:I * 1237, 36000) SECOND TO TIME '07:00:00'),
      MOD(:I, 6) + 1, LPAD(CAST(1000 + :I AS VARCHAR(10)), 6, '0'), :OP,
      CASE WHEN :OP = 'Anulación' THEN 'Error en la digitación, se repite el documento' ELSE NULL END,
      'CAJA-' || (MOD(:I, 3) + 1));
    IF (MOD(:I, 3) = 0) THEN
      INSERT INTO FACTURAS VALUES (:I, :D, MOD(:I / 3, 3) + 1, (MOD(:I * 7919, 100000) + 0.35) * 10);
    I = I + 1;
  END
END^
SET TERM ; ^
COMMIT;
